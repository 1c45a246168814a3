#pragma once

// Short songs made on the spot: MPEG audio encoded with GStreamer, and the MIDI songs of
// MidiSong.h.
#include <gst/gst.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "support/MidiSong.h"

namespace trelvin::test_support {

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Encodes `seconds` of a test tone into an MP3 file; false when it could not.
inline bool WriteMp3Song(const std::string& path, double seconds) {
  gst_init(nullptr, nullptr);
  const int buffers = static_cast<int>(seconds * 44100 / 1024 + 0.5);
  const std::string description =
      "audiotestsrc num-buffers=" + std::to_string(buffers) +
      " samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=1 ! lamemp3enc ! "
      "filesink name=out";
  GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
  if (!pipeline) return false;
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
  g_object_set(out, "location", path.c_str(), nullptr);
  gst_object_unref(out);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* message = gst_bus_timed_pop_filtered(
      bus, 20 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
  if (message) gst_message_unref(message);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return ok;
}

}  // namespace trelvin::test_support
