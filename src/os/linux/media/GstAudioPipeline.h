#pragma once

#include <functional>
#include <memory>
#include <string>

typedef struct _GstElement GstElement;

namespace trelvin {

// One GStreamer playback pipeline for a file, decoding its audio into an audio output. MIDI is
// rendered with FluidSynth and a sound font; everything else goes through playbin, audio only.
// Create, Start and destruction may block for a while (a sound font loads, an audio device
// opens); call them off the window thread.
class GstAudioPipeline {
 public:
  struct Source {
    std::string path;
    bool midi = false;
    std::string sound_font;  // used for MIDI
  };
  // Called on GStreamer's threads.
  struct Events {
    std::function<void()> on_end;           // end of stream or an error: playback is over
    std::function<void()> on_first_buffer;  // the first audio reached the output
  };

  // Builds the pipeline with the audio output of the bin description `sink_description`; null
  // when an element is missing or the output cannot be opened.
  static std::unique_ptr<GstAudioPipeline> Create(const Source& source,
                                                  const std::string& sink_description,
                                                  Events events);
  ~GstAudioPipeline();
  GstAudioPipeline(const GstAudioPipeline&) = delete;
  GstAudioPipeline& operator=(const GstAudioPipeline&) = delete;

  // Sets the pipeline playing from the start; false when it refuses.
  bool Start();
  // Stops playback at once and sends no more events; the resources go with the object.
  void Halt();

 private:
  GstAudioPipeline(GstElement* pipeline, Events events);

  GstElement* pipeline_;
  Events events_;
};

}  // namespace trelvin
