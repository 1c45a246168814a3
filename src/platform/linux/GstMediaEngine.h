#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/mci/MediaEngine.h"

namespace trelvin {

// The media engine on GStreamer. Open reads only a file's first bytes; every pipeline is built,
// started and torn down on the engine's own worker thread, so the caller never waits for a
// sound font, a decoder or an audio device. Streams must be closed before the engine goes.
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
  // Returns once all work queued so far has been done.
  void Flush();

  struct StreamState;

 private:
  class Stream;
  void Post(std::function<void()> job);
  void RunWorker();
  void Start(const std::shared_ptr<StreamState>& state, unsigned generation);
  void Release(const std::shared_ptr<StreamState>& state);
  void NotifyFirstBuffer(const std::string& path);

  std::string sink_description_;
  std::string sound_font_;  // empty when MIDI cannot be rendered
  bool ready_ = false;      // GStreamer is usable

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<std::function<void()>> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  std::function<void(const std::string&)> first_buffer_observer_;
  std::thread worker_;
};

}  // namespace trelvin
