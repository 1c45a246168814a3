#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "os/linux/media/WorkQueue.h"
#include "os/linux/media/mci/MediaEngine.h"

namespace trelvin {

// The media engine on GStreamer. Open reads only a file's first bytes; every pipeline is built,
// started and silenced on the engine's own thread, so the caller never waits for a sound font, a
// decoder or an audio device. Freeing a silenced pipeline (a sound font takes a while) happens on
// a second thread, so the next song need not wait for it. Streams must be closed before the
// engine goes.
class GstMediaEngine : public MediaEngine {
 public:
  // The audio output used when the environment names none.
  static constexpr const char* kDefaultSink = "autoaudiosink";
  // Plays in real time without a sound, so that songs still end on time.
  static constexpr const char* kSilentSink = "fakesink sync=true";

  // TRELVIN_AUDIO_SINK, or the default output.
  static std::string AudioSinkFromEnvironment();

  // `sink_description` is a GStreamer bin description of the audio output.
  explicit GstMediaEngine(std::string sink_description);
  ~GstMediaEngine() override;
  GstMediaEngine(const GstMediaEngine&) = delete;
  GstMediaEngine& operator=(const GstMediaEngine&) = delete;

  std::unique_ptr<MediaStream> Open(const std::string& path, DeviceType type,
                                    MediaError& error) override;

  // Called on a GStreamer thread with the file's path when a stream's first audio reaches the
  // output. For measurements and tests.
  void SetFirstBufferObserver(std::function<void(const std::string&)> observer);
  // Returns once all work queued so far has been done, freeing included.
  void Flush();

  struct StreamState;

 private:
  class Stream;
  void Start(const std::shared_ptr<StreamState>& state, unsigned generation);
  void Release(const std::shared_ptr<StreamState>& state);
  void NotifyFirstBuffer(const std::string& path);

  std::string sink_description_;
  std::string sound_font_;  // empty when MIDI cannot be rendered
  bool ready_ = false;      // GStreamer is usable

  std::mutex observer_mutex_;
  std::function<void(const std::string&)> first_buffer_observer_;
  // Declared in this order so that at the end the worker's last jobs can still hand pipelines
  // to the reaper.
  WorkQueue reaper_;
  WorkQueue worker_;
};

}  // namespace trelvin
