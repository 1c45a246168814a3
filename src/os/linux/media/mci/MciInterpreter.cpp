#include "os/linux/media/mci/MciInterpreter.h"

#include <algorithm>
#include <cstdlib>

#include "core/base/AsciiCase.h"
#include "os/linux/media/mci/MciErrors.h"

namespace trelvin {

using mci::MciCommand;

namespace {

// Flags every command may carry. Completion messages are not sent: nothing in the program
// handles them.
bool IsCommonFlag(const std::string& word) { return EqualsNoCase(word, "notify"); }

std::uint32_t MapOpenError(MediaError error) {
  switch (error) {
    case MediaError::kFileNotFound:
      return mci::kErrFileNotFound;
    case MediaError::kNoSynthesiser:
      return mci::kErrSeqNoMidiPresent;
    case MediaError::kInvalidFile:
    case MediaError::kNone:
      break;
  }
  return mci::kErrInvalidFile;
}

const char* ModeText(StreamMode mode) {
  switch (mode) {
    case StreamMode::kPlaying:
      return "playing";
    case StreamMode::kStopped:
      return "stopped";
    case StreamMode::kNotReady:
      break;
  }
  return "not ready";
}

}  // namespace

MciInterpreter::~MciInterpreter() {
  std::lock_guard lock(mutex_);
  devices_.clear();
}

std::uint32_t MciInterpreter::mciSendString(const std::string& command, WindowHandle callback) {
  return mciSendString(command, nullptr, callback);
}

std::uint32_t MciInterpreter::mciSendString(const std::string& text, std::string* reply,
                                            WindowHandle callback) {
  (void)callback;
  if (reply) reply->clear();
  MciCommand command;
  if (const std::uint32_t error = mci::ParseCommand(text, command)) return error;

  std::lock_guard lock(mutex_);
  if (command.verb == "open") return Open(command);
  if (command.verb == "close") return Close(command);
  if (command.verb == "play") return Play(command);
  if (command.verb == "status") return Status(command, reply);
  return mci::kErrUnrecognizedCommand;
}

std::size_t MciInterpreter::OpenDeviceCount() const {
  std::lock_guard lock(mutex_);
  return devices_.size();
}

std::uint32_t MciInterpreter::Open(const MciCommand& command) {
  if (!command.has_device) return mci::kErrMissingDeviceName;
  const std::string* type_name = nullptr;
  const std::string* alias = nullptr;
  for (std::size_t i = 0; i < command.words.size(); ++i) {
    const std::string& word = command.words[i];
    const bool is_type = EqualsNoCase(word, "type");
    if (is_type || EqualsNoCase(word, "alias")) {
      if (i + 1 == command.words.size()) return mci::kErrMissingStringArgument;
      const std::string*& slot = is_type ? type_name : alias;
      if (slot) return mci::kErrDuplicateFlags;
      slot = &command.words[++i];
    } else if (!IsCommonFlag(word) && !EqualsNoCase(word, "wait") &&
               !EqualsNoCase(word, "shareable")) {
      return mci::kErrUnrecognizedKeyword;
    }
  }
  // Without a type the device would be chosen by the file's extension; no extension is
  // registered here.
  if (!type_name) return mci::kErrExtensionNotFound;
  DeviceType type;
  if (EqualsNoCase(*type_name, "sequencer")) {
    type = DeviceType::kSequencer;
  } else if (EqualsNoCase(*type_name, "MPEGVideo")) {
    type = DeviceType::kMpegVideo;
  } else {
    return mci::kErrInvalidDeviceName;
  }

  const std::string& name = alias ? *alias : command.device;
  if (EqualsNoCase(name, "all")) return mci::kErrCannotUseAll;
  for (const Device& device : devices_) {
    if (EqualsNoCase(device.alias, name)) return mci::kErrDuplicateAlias;
  }

  MediaError error = MediaError::kNone;
  std::unique_ptr<MediaStream> stream = engine_.Open(command.device, type, error);
  if (!stream) return MapOpenError(error);
  devices_.push_back({name, type, std::move(stream)});
  return mci::kOk;
}

std::uint32_t MciInterpreter::Close(const MciCommand& command) {
  if (!command.has_device) return mci::kErrMissingDeviceName;
  for (const std::string& word : command.words) {
    if (!IsCommonFlag(word) && !EqualsNoCase(word, "wait")) return mci::kErrUnrecognizedKeyword;
  }
  if (EqualsNoCase(command.device, "all")) {
    devices_.clear();
    return mci::kOk;
  }
  std::uint32_t error = mci::kOk;
  Device* device = Find(command, error);
  if (!device) return error;
  devices_.erase(devices_.begin() + (device - devices_.data()));
  return mci::kOk;
}

std::uint32_t MciInterpreter::Play(const MciCommand& command) {
  for (std::size_t i = 0; i < command.words.size(); ++i) {
    const std::string& word = command.words[i];
    if (EqualsNoCase(word, "from")) {
      if (i + 1 == command.words.size()) return mci::kErrMissingParameter;
      const std::string& value = command.words[++i];
      char* end = nullptr;
      const long position = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0') return mci::kErrBadInteger;
      // Playback always starts at the beginning.
      if (position != 0) return mci::kErrUnsupportedFunction;
    } else if (EqualsNoCase(word, "to") || EqualsNoCase(word, "wait")) {
      // Waiting would block the caller until the song's end.
      return mci::kErrUnsupportedFunction;
    } else if (!IsCommonFlag(word)) {
      return mci::kErrUnrecognizedKeyword;
    }
  }
  std::uint32_t error = mci::kOk;
  Device* device = Find(command, error);
  if (!device) return error;
  if (HoldsSynthesiser(*device)) {
    for (const Device& other : devices_) {
      if (&other != device && HoldsSynthesiser(other) &&
          other.stream->Mode() == StreamMode::kPlaying) {
        return mci::kErrSeqPortInUse;
      }
    }
  }
  return device->stream->Play() ? mci::kOk : mci::kErrHardware;
}

std::uint32_t MciInterpreter::Status(const MciCommand& command, std::string* reply) {
  bool mode = false;
  for (const std::string& word : command.words) {
    if (EqualsNoCase(word, "mode")) {
      if (mode) return mci::kErrDuplicateFlags;
      mode = true;
    } else if (!IsCommonFlag(word) && !EqualsNoCase(word, "wait")) {
      return mci::kErrUnrecognizedKeyword;
    }
  }
  std::uint32_t error = mci::kOk;
  Device* device = Find(command, error);
  if (!device) return error;
  if (!mode) return mci::kErrMissingParameter;
  if (reply) *reply = ModeText(device->stream->Mode());
  return mci::kOk;
}

MciInterpreter::Device* MciInterpreter::Find(const MciCommand& command, std::uint32_t& error) {
  if (!command.has_device) {
    error = mci::kErrMissingDeviceName;
    return nullptr;
  }
  if (EqualsNoCase(command.device, "all")) {
    error = mci::kErrCannotUseAll;
    return nullptr;
  }
  auto it = std::find_if(devices_.begin(), devices_.end(), [&](const Device& device) {
    return EqualsNoCase(device.alias, command.device);
  });
  if (it == devices_.end()) {
    error = mci::kErrInvalidDeviceName;
    return nullptr;
  }
  return &*it;
}

// A sequencer device always plays through the synthesiser; another device does when its file
// is MIDI.
bool MciInterpreter::HoldsSynthesiser(const Device& device) const {
  return device.type == DeviceType::kSequencer || device.stream->UsesSynthesiser();
}

}  // namespace trelvin
