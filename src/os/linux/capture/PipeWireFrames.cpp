#include "os/linux/capture/PipeWireFrames.h"

#include <unistd.h>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

namespace trelvin {

namespace {

// How long the destructor waits for streams still going down.
constexpr auto kStopLimit = std::chrono::seconds(2);

}  // namespace

struct PipeWireFrames::Stream {
  ~Stream() {
    if (latest) gst_sample_unref(latest);
    if (pipeline) {
      gst_element_set_state(pipeline, GST_STATE_NULL);
      gst_object_unref(pipeline);
    }
    if (sink) gst_object_unref(sink);
    if (source_pad) gst_object_unref(source_pad);
    if (fd >= 0) close(fd);
  }

  int fd = -1;
  GstElement* pipeline = nullptr;
  GstElement* sink = nullptr;
  GstPad* source_pad = nullptr;
  GstSample* latest = nullptr;  // touched by the interface thread only
  std::atomic<bool> failed{false};
  std::atomic<bool> playing{false};
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

PipeWireFrames::PipeWireFrames(std::chrono::milliseconds start_limit) : start_limit_(start_limit) {
  gst_init_check(nullptr, nullptr, nullptr);
}

PipeWireFrames::~PipeWireFrames() {
  Stop();
  std::unique_lock lock(jobs_->mutex);
  jobs_->idle.wait_for(lock, kStopLimit, [this] { return jobs_->running == 0; });
}

void PipeWireFrames::Detach(std::function<void()> job) {
  {
    std::lock_guard lock(jobs_->mutex);
    ++jobs_->running;
  }
  std::thread([jobs = jobs_, job = std::move(job)] {
    job();
    std::lock_guard lock(jobs->mutex);
    --jobs->running;
    jobs->idle.notify_all();
  }).detach();
}

void PipeWireFrames::Start(int fd, std::uint32_t node) {
  Stop();
  auto stream = std::make_shared<Stream>();
  stream->fd = fd;
  // WirePlumber links a stream to its consumer only when told it carries video; without the
  // property the source never reaches PLAYING.
  const std::string description =
      "pipewiresrc name=src fd=" + std::to_string(fd) + " path=" + std::to_string(node) +
      " stream-properties=\"props,media.type=Video\" ! videoconvert"
      " ! video/x-raw,format=BGRx ! appsink name=sink max-buffers=1 drop=true sync=false";
  GError* error = nullptr;
  stream->pipeline = gst_parse_launch(description.c_str(), &error);
  if (error) {
    g_error_free(error);
    if (stream->pipeline) gst_object_unref(stream->pipeline);
    stream->pipeline = nullptr;
  }
  if (stream->pipeline) {
    stream->sink = gst_bin_get_by_name(GST_BIN(stream->pipeline), "sink");
    if (GstElement* source = gst_bin_get_by_name(GST_BIN(stream->pipeline), "src")) {
      stream->source_pad = gst_element_get_static_pad(source, "src");
      gst_object_unref(source);
    }
  }
  if (!stream->pipeline || !stream->sink || !stream->source_pad) {
    stream->failed = true;
    stream_ = stream;
    return;
  }
  stream_ = stream;
  const auto limit = std::chrono::nanoseconds(start_limit_).count();
  Detach([stream, limit] {
    const GstStateChangeReturn change = gst_element_set_state(stream->pipeline, GST_STATE_PLAYING);
    if (change == GST_STATE_CHANGE_FAILURE ||
        gst_element_get_state(stream->pipeline, nullptr, nullptr, limit) !=
            GST_STATE_CHANGE_SUCCESS) {
      stream->failed = true;
      return;
    }
    stream->playing = true;
  });
}

void PipeWireFrames::Stop() {
  if (!stream_) return;
  std::shared_ptr<Stream> stream = std::move(stream_);
  stream_.reset();
  if (stream->latest) {
    gst_sample_unref(stream->latest);
    stream->latest = nullptr;
  }
  // Going down may wait on the PipeWire thread: off the interface thread.
  Detach([stream = std::move(stream)]() mutable { stream.reset(); });
}

bool PipeWireFrames::Ended() {
  if (!stream_) return true;
  Stream& s = *stream_;
  if (s.failed) return true;
  if (!s.playing && std::chrono::steady_clock::now() - s.started > start_limit_) s.failed = true;
  GstBus* bus = gst_element_get_bus(s.pipeline);
  while (GstMessage* message = gst_bus_pop_filtered(
             bus, static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS))) {
    s.failed = true;
    gst_message_unref(message);
  }
  gst_object_unref(bus);
  // Both tests only mean something once the pipeline plays: before that the sink counts as
  // ended and the source's task has not started yet.
  if (s.playing) {
    if (gst_app_sink_is_eos(GST_APP_SINK(s.sink))) s.failed = true;
    // When the desktop ends the stream, pipewiresrc posts nothing: it stops asking PipeWire for
    // buffers and pauses its streaming task. A paused task in a playing pipeline is a dead stream.
    if (gst_pad_get_task_state(s.source_pad) != GST_TASK_STARTED) s.failed = true;
  }
  return s.failed;
}

bool PipeWireFrames::CopyLatest(Bitmap& target, int width, int height,
                                std::optional<Rgb> background) {
  const auto fail = [&] {
    if (background) target.Fill(*background);
    return false;
  };
  // A stream that ended keeps no frame: its last picture is no longer the screen.
  if (Ended()) {
    if (stream_ && stream_->latest) {
      gst_sample_unref(stream_->latest);
      stream_->latest = nullptr;
    }
    return fail();
  }
  Stream& s = *stream_;
  if (GstSample* newer = gst_app_sink_try_pull_sample(GST_APP_SINK(s.sink), 0)) {
    if (s.latest) gst_sample_unref(s.latest);
    s.latest = newer;
  }
  if (!s.latest) return fail();
  GstCaps* caps = gst_sample_get_caps(s.latest);
  GstBuffer* buffer = gst_sample_get_buffer(s.latest);
  int frame_width = 0;
  int frame_height = 0;
  if (!caps || !buffer || gst_caps_get_size(caps) == 0) return fail();
  const GstStructure* structure = gst_caps_get_structure(caps, 0);
  if (!gst_structure_get_int(structure, "width", &frame_width) ||
      !gst_structure_get_int(structure, "height", &frame_height) || frame_width <= 0 ||
      frame_height <= 0) {
    return fail();
  }
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return fail();
  const std::size_t stride = map.size / static_cast<std::size_t>(frame_height);
  if (stride < static_cast<std::size_t>(frame_width) * 4) {
    gst_buffer_unmap(buffer, &map);
    return fail();
  }
  const int w = std::min({width, frame_width, target.width});
  const int h = std::min({height, frame_height, target.height});
  for (int y = 0; y < target.height; ++y) {
    std::uint32_t* row = target.Row(y);
    const int copied = y < h ? w : 0;
    if (copied > 0) {
      // BGRx in memory is 0xxxRRGGBB as a little-endian word.
      const std::uint8_t* src = map.data + static_cast<std::size_t>(y) * stride;
      for (int x = 0; x < copied; ++x, src += 4) {
        row[x] = static_cast<std::uint32_t>(src[2]) << 16 |
                 static_cast<std::uint32_t>(src[1]) << 8 | src[0];
      }
    }
    if (background) std::fill(row + copied, row + target.width, *background);
  }
  gst_buffer_unmap(buffer, &map);
  return w > 0 && h > 0;
}

}  // namespace trelvin
