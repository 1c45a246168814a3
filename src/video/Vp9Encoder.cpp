#include "video/Vp9Encoder.h"

#include <vpx/vp8cx.h>
#include <vpx/vpx_encoder.h>

#include "video/ClearedMemory.h"

namespace trelvin::video {

struct Vp9Encoder::State {
  vpx_codec_ctx_t codec{};
  bool open = false;
  int width = 0;
  int height = 0;
  ~State() {
    if (open) vpx_codec_destroy(&codec);
  }
};

Vp9Encoder::Vp9Encoder() : state_(std::make_unique<State>()) {}
Vp9Encoder::~Vp9Encoder() = default;

bool Vp9Encoder::Start(int width, int height, int fps) {
  vpx_codec_enc_cfg_t cfg{};
  if (vpx_codec_enc_config_default(vpx_codec_vp9_cx(), &cfg, 0) != VPX_CODEC_OK) return false;
  cfg.g_w = static_cast<unsigned>(width);
  cfg.g_h = static_cast<unsigned>(height);
  cfg.g_timebase.num = 1;
  cfg.g_timebase.den = fps;
  cfg.g_threads = 2;
  cfg.g_lag_in_frames = 0;
  cfg.g_error_resilient = 0;
  // Constant quality: a screen that barely changes costs little, a busy one keeps its detail.
  cfg.rc_end_usage = VPX_Q;
  cfg.rc_min_quantizer = 4;
  cfg.rc_max_quantizer = 48;
  // A key frame every ten seconds, so a player can seek in a long video.
  cfg.kf_mode = VPX_KF_AUTO;
  cfg.kf_max_dist = static_cast<unsigned>(fps * 10);
  const ClearedMemory before_init;
  if (vpx_codec_enc_init(&state_->codec, vpx_codec_vp9_cx(), &cfg, 0) != VPX_CODEC_OK) {
    return false;
  }
  // Most of what the set-up clears is never written at real-time speed (the token buffer:
  // 100 MB of a 186 MB peak at 1920 x 1080).
  before_init.ReturnZeroPages();
  state_->open = true;
  state_->width = width;
  state_->height = height;
  vpx_codec_control(&state_->codec, VP8E_SET_CPUUSED, 8);
  vpx_codec_control(&state_->codec, VP8E_SET_CQ_LEVEL, 36);
  vpx_codec_control(&state_->codec, VP9E_SET_ROW_MT, 1);
  vpx_codec_control(&state_->codec, VP9E_SET_TILE_COLUMNS, width >= 1024 ? 2 : 1);
  vpx_codec_control(&state_->codec, VP9E_SET_FRAME_PARALLEL_DECODING, 1);
  return true;
}

bool Vp9Encoder::Drain(const Sink& sink) {
  vpx_codec_iter_t iter = nullptr;
  while (const vpx_codec_cx_pkt_t* pkt = vpx_codec_get_cx_data(&state_->codec, &iter)) {
    if (pkt->kind != VPX_CODEC_CX_FRAME_PKT) continue;
    const bool key = (pkt->data.frame.flags & VPX_FRAME_IS_KEY) != 0;
    if (!sink(pkt->data.frame.buf, pkt->data.frame.sz, pkt->data.frame.pts, key)) return false;
  }
  return true;
}

bool Vp9Encoder::Encode(const Frame& frame, std::int64_t pts, const Sink& sink) {
  if (!state_->open || frame.width != state_->width || frame.height != state_->height) {
    return false;
  }
  vpx_image_t image{};
  // The planes are only read by the encoder; libvpx's image type has no const.
  auto* luma = const_cast<unsigned char*>(frame.y.data());
  vpx_img_wrap(&image, VPX_IMG_FMT_I420, static_cast<unsigned>(frame.width),
               static_cast<unsigned>(frame.height), 1, luma);
  image.planes[VPX_PLANE_U] = const_cast<unsigned char*>(frame.u.data());
  image.planes[VPX_PLANE_V] = const_cast<unsigned char*>(frame.v.data());
  image.stride[VPX_PLANE_Y] = frame.width;
  image.stride[VPX_PLANE_U] = image.stride[VPX_PLANE_V] = frame.width / 2;
  if (vpx_codec_encode(&state_->codec, &image, pts, 1, 0, VPX_DL_REALTIME) != VPX_CODEC_OK) {
    return false;
  }
  return Drain(sink);
}

bool Vp9Encoder::Finish(const Sink& sink) {
  if (!state_->open) return false;
  if (vpx_codec_encode(&state_->codec, nullptr, 0, 1, 0, VPX_DL_REALTIME) != VPX_CODEC_OK) {
    return false;
  }
  return Drain(sink);
}

}  // namespace trelvin::video
