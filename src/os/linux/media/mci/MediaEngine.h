#pragma once

#include <memory>
#include <string>

namespace trelvin {

// The device types the media command interpreter knows.
enum class DeviceType {
  kSequencer,  // MIDI files only, played through the one shared synthesiser
  kMpegVideo,  // any audio the engine can decode; pictures in the file are ignored
};

// What a stream is doing, as the "mode" status item reports it.
enum class StreamMode { kNotReady, kPlaying, kStopped };

enum class MediaError {
  kNone,
  kFileNotFound,   // no such file
  kInvalidFile,    // the device type cannot open this file (or it cannot be read)
  kNoSynthesiser,  // MIDI cannot be rendered on this machine
};

// One opened file. Destroying it closes it: playback stops and everything it holds is released,
// without waiting for the audio machinery.
class MediaStream {
 public:
  virtual ~MediaStream() = default;
  // Starts playback from the beginning in the background and returns at once; false when
  // playback cannot be started at all.
  virtual bool Play() = 0;
  // The current mode; safe to call from any thread while playback runs.
  virtual StreamMode Mode() const = 0;
  // Whether playing this stream occupies the synthesiser (its content is MIDI).
  virtual bool UsesSynthesiser() const = 0;
};

// Opens files for playback; what the interpreter's devices stand on.
class MediaEngine {
 public:
  virtual ~MediaEngine() = default;
  // Opens `path` for a device of `type`, deciding by the file's content whether that type can
  // play it. Returns null and sets `error` when it cannot. Reads at most the file's first bytes:
  // never decodes.
  virtual std::unique_ptr<MediaStream> Open(const std::string& path, DeviceType type,
                                            MediaError& error) = 0;
};

}  // namespace trelvin
