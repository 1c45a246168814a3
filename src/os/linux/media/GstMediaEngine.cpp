#include "os/linux/media/GstMediaEngine.h"

#include <fcntl.h>
#include <gst/base/gsttypefindhelper.h>
#include <gst/gst.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "os/linux/media/GstAudioPipeline.h"

namespace trelvin {

namespace {

// Debian's General MIDI sound fonts, best first.
constexpr std::array<const char*, 2> kSoundFonts = {"/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                                    "/usr/share/sounds/sf2/default-GM.sf2"};
// Enough of a file to recognise its format.
constexpr std::size_t kSniffBytes = 16 * 1024;

bool HasElement(const char* name) {
  GstElementFactory* factory = gst_element_factory_find(name);
  if (!factory) return false;
  gst_object_unref(factory);
  return true;
}

// Whether GStreamer recognises the bytes as a sound (or a container that may hold one).
bool LooksLikeAudio(const std::vector<std::uint8_t>& head) {
  GstTypeFindProbability probability = GST_TYPE_FIND_NONE;
  GstCaps* caps = gst_type_find_helper_for_data(nullptr, head.data(), head.size(), &probability);
  if (!caps) return false;
  const std::string type = gst_structure_get_name(gst_caps_get_structure(caps, 0));
  gst_caps_unref(caps);
  if (probability < GST_TYPE_FIND_LIKELY) return false;
  return type.rfind("image/", 0) != 0 && type.rfind("text/", 0) != 0 &&
         type.rfind("application/x-executable", 0) != 0;
}

}  // namespace

// Shared by a stream, the worker and GStreamer's threads.
struct GstMediaEngine::StreamState {
  GstAudioPipeline::Source source;
  std::atomic<StreamMode> mode{StreamMode::kStopped};
  // Counts the plays; events of an earlier play are ignored.
  std::atomic<unsigned> generation{0};
  std::atomic<bool> closed{false};
  std::unique_ptr<GstAudioPipeline> pipeline;  // worker thread only
};

class GstMediaEngine::Stream : public MediaStream {
 public:
  Stream(GstMediaEngine& engine, std::shared_ptr<StreamState> state)
      : engine_(engine), state_(std::move(state)) {}
  ~Stream() override {
    state_->closed = true;
    state_->mode = StreamMode::kStopped;
    engine_.worker_.Post([&engine = engine_, state = state_] { engine.Release(state); });
  }
  bool Play() override {
    const unsigned generation = ++state_->generation;
    state_->mode = StreamMode::kPlaying;
    engine_.worker_.Post(
        [&engine = engine_, state = state_, generation] { engine.Start(state, generation); });
    return true;
  }
  StreamMode Mode() const override { return state_->mode; }
  bool UsesSynthesiser() const override { return state_->source.midi; }

 private:
  GstMediaEngine& engine_;
  std::shared_ptr<StreamState> state_;
};

std::string GstMediaEngine::AudioSinkFromEnvironment() {
  const char* sink = std::getenv("TRELVIN_AUDIO_SINK");
  return sink && *sink ? sink : kDefaultSink;
}

GstMediaEngine::GstMediaEngine(std::string sink_description)
    : sink_description_(std::move(sink_description)) {
  GError* error = nullptr;
  ready_ = gst_init_check(nullptr, nullptr, &error);
  g_clear_error(&error);
  if (ready_ && HasElement("midiparse") && HasElement("fluiddec")) {
    for (const char* font : kSoundFonts) {
      if (::access(font, R_OK) == 0) {
        sound_font_ = font;
        break;
      }
    }
  }
}

GstMediaEngine::~GstMediaEngine() = default;

std::unique_ptr<MediaStream> GstMediaEngine::Open(const std::string& path, DeviceType type,
                                                  MediaError& error) {
  error = MediaError::kInvalidFile;
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) {
    if (path.empty() || errno == ENOENT || errno == ENOTDIR) error = MediaError::kFileNotFound;
    return nullptr;
  }
  if (!S_ISREG(info.st_mode) || !ready_) return nullptr;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::vector<std::uint8_t> head(kSniffBytes);
  const ssize_t got = ::read(fd, head.data(), head.size());
  ::close(fd);
  if (got <= 0) return nullptr;
  head.resize(static_cast<std::size_t>(got));

  // MIDI is told by its header, whatever the file is called.
  const bool midi = head.size() >= 14 && std::memcmp(head.data(), "MThd", 4) == 0;
  if (type == DeviceType::kSequencer && !midi) return nullptr;
  if (!midi && !LooksLikeAudio(head)) return nullptr;
  if (midi && sound_font_.empty()) {
    error = MediaError::kNoSynthesiser;
    return nullptr;
  }

  auto state = std::make_shared<StreamState>();
  state->source = {path, midi, sound_font_};
  error = MediaError::kNone;
  return std::make_unique<Stream>(*this, std::move(state));
}

void GstMediaEngine::SetFirstBufferObserver(std::function<void(const std::string&)> observer) {
  std::lock_guard lock(observer_mutex_);
  first_buffer_observer_ = std::move(observer);
}

void GstMediaEngine::Flush() {
  worker_.Flush();
  reaper_.Flush();
}

void GstMediaEngine::Start(const std::shared_ptr<StreamState>& state, unsigned generation) {
  // A play that was superseded or closed before its turn came is not started at all.
  if (state->closed || state->generation != generation) return;
  Release(state);

  std::weak_ptr<StreamState> weak = state;
  GstAudioPipeline::Events events;
  events.on_end = [this, weak, generation] {
    std::shared_ptr<StreamState> s = weak.lock();
    if (!s || s->generation != generation) return;
    s->mode = StreamMode::kStopped;
    // Gives the audio output and the synthesiser back while the device waits at its end.
    worker_.Post([this, s, generation] {
      if (s->generation == generation) Release(s);
    });
  };
  events.on_first_buffer = [this, path = state->source.path] { NotifyFirstBuffer(path); };

  for (const std::string& sink : {sink_description_, std::string(kSilentSink)}) {
    state->pipeline = GstAudioPipeline::Create(state->source, sink, events);
    if (state->pipeline && state->pipeline->Start()) return;
    state->pipeline.reset();
  }
  if (state->generation == generation) state->mode = StreamMode::kStopped;
}

void GstMediaEngine::Release(const std::shared_ptr<StreamState>& state) {
  if (!state->pipeline) return;
  state->pipeline->Halt();
  // std::function needs a copyable job.
  std::shared_ptr<GstAudioPipeline> halted = std::move(state->pipeline);
  reaper_.Post([halted]() mutable {
    halted.reset();
    // A sound font is freed in many pieces that the allocator would otherwise keep: without
    // this, song changes leave the process hundreds of megabytes larger.
    ::malloc_trim(0);
  });
}

void GstMediaEngine::NotifyFirstBuffer(const std::string& path) {
  std::function<void(const std::string&)> observer;
  {
    std::lock_guard lock(observer_mutex_);
    observer = first_buffer_observer_;
  }
  if (observer) observer(path);
}

}  // namespace trelvin
