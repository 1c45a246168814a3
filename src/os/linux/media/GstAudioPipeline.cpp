#include "os/linux/media/GstAudioPipeline.h"

#include <gst/gst.h>

#include <atomic>

namespace trelvin {

namespace {

// playbin's flag bits: audio only, with software volume. Video and subtitles are not decoded.
constexpr guint kPlayFlagAudio = 0x02;
constexpr guint kPlayFlagSoftVolume = 0x10;

// The audio output as a bin with one sink pad, already opened (READY), so that a device that
// cannot be opened shows here and not later during playback.
GstElement* MakeOutput(const std::string& description) {
  GError* error = nullptr;
  GstElement* bin = gst_parse_bin_from_description(description.c_str(), TRUE, &error);
  g_clear_error(&error);
  if (!bin) return nullptr;
  gst_object_ref_sink(bin);
  if (gst_element_set_state(bin, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
    gst_element_set_state(bin, GST_STATE_NULL);
    gst_object_unref(bin);
    return nullptr;
  }
  return bin;
}

GstElement* MakeMidiPipeline(const GstAudioPipeline::Source& source, GstElement* output) {
  GstElement* pipeline = gst_pipeline_new(nullptr);
  GstElement* file = gst_element_factory_make("filesrc", nullptr);
  GstElement* parse = gst_element_factory_make("midiparse", nullptr);
  GstElement* synth = gst_element_factory_make("fluiddec", nullptr);
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  if (!file || !parse || !synth || !convert || !resample) {
    for (GstElement* e : {file, parse, synth, convert, resample}) {
      if (e) gst_object_unref(gst_object_ref_sink(e));
    }
    gst_object_unref(pipeline);
    return nullptr;
  }
  g_object_set(file, "location", source.path.c_str(), nullptr);
  g_object_set(synth, "soundfont", source.sound_font.c_str(), nullptr);
  gst_bin_add_many(GST_BIN(pipeline), file, parse, synth, convert, resample, output, nullptr);
  if (!gst_element_link_many(file, parse, synth, convert, resample, output, nullptr)) {
    gst_object_unref(pipeline);
    return nullptr;
  }
  return pipeline;
}

GstElement* MakeDecodePipeline(const GstAudioPipeline::Source& source, GstElement* output) {
  GError* error = nullptr;
  gchar* uri = gst_filename_to_uri(source.path.c_str(), &error);
  g_clear_error(&error);
  GstElement* playbin = uri ? gst_element_factory_make("playbin", nullptr) : nullptr;
  if (!playbin) {
    g_free(uri);
    return nullptr;
  }
  g_object_set(playbin, "uri", uri, "flags", kPlayFlagAudio | kPlayFlagSoftVolume, "audio-sink",
               output, nullptr);
  g_free(uri);
  return playbin;
}

GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
  auto* events = static_cast<GstAudioPipeline::Events*>(data);
  const GstMessageType type = GST_MESSAGE_TYPE(message);
  if ((type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) && events->on_end) events->on_end();
  gst_message_unref(message);
  return GST_BUS_DROP;
}

GstPadProbeReturn OnFirstBuffer(GstPad*, GstPadProbeInfo*, gpointer data) {
  auto* events = static_cast<GstAudioPipeline::Events*>(data);
  if (events->on_first_buffer) events->on_first_buffer();
  return GST_PAD_PROBE_REMOVE;
}

}  // namespace

std::unique_ptr<GstAudioPipeline> GstAudioPipeline::Create(const Source& source,
                                                           const std::string& sink_description,
                                                           Events events) {
  GstElement* output = MakeOutput(sink_description);
  if (!output) return nullptr;
  GstElement* pipeline =
      source.midi ? MakeMidiPipeline(source, output) : MakeDecodePipeline(source, output);
  if (!pipeline) {
    gst_element_set_state(output, GST_STATE_NULL);
    gst_object_unref(output);
    return nullptr;
  }
  gst_object_ref_sink(pipeline);
  std::unique_ptr<GstAudioPipeline> result(new GstAudioPipeline(pipeline, std::move(events)));

  GstBus* bus = gst_element_get_bus(pipeline);
  gst_bus_set_sync_handler(bus, OnBusMessage, &result->events_, nullptr);
  gst_object_unref(bus);
  if (GstPad* pad = gst_element_get_static_pad(output, "sink")) {
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, OnFirstBuffer, &result->events_, nullptr);
    gst_object_unref(pad);
  }
  gst_object_unref(output);  // the pipeline holds it now
  return result;
}

GstAudioPipeline::GstAudioPipeline(GstElement* pipeline, Events events)
    : pipeline_(pipeline), events_(std::move(events)) {}

GstAudioPipeline::~GstAudioPipeline() {
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  // No message may reach the events once this object is gone.
  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
  gst_object_unref(pipeline_);
}

void GstAudioPipeline::Halt() {
  gst_element_set_state(pipeline_, GST_STATE_READY);
  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
}

bool GstAudioPipeline::Start() {
  return gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

}  // namespace trelvin
