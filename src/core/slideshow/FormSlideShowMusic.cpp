// The show's own music: choosing, playing and stopping songs, and noticing a song's end.
#include <cstdint>
#include <string>

#include "core/base/AsciiCase.h"
#include "core/base/Guard.h"
#include "core/base/Int16Counter.h"
#include "core/base/RandomIndex.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

namespace {

// A result that counts as failed when the media call itself could not be made.
constexpr std::uint32_t kCallFailed = 0xFFFFFFFFu;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

void FormSlideShow::PlayMusic(bool Automatic) {
  MediaControl& media = services_.media;
  // Any media call that fails, or answers non-zero, ends the operation.
  auto send = [&](const std::string& command, WindowHandle callback) {
    std::uint32_t result = kCallFailed;
    Step([&] { result = media.mciSendString(command, callback); });
    return result;
  };

  std::int16_t count = 0;
  Step([&] { count = lstMusic.ListCount(); });
  if (count == 0) return;

  if (Automatic) {
    if (RandomFlag) {
      Step([&] { MusicIndex = RandomIndex(random_.Next(), count); });
    }
    Step([&] {
      if (MusicIndex >= count) MusicIndex = 0;
    });
  }

  std::string path;
  Step([&] { path = MusicPath + lstMusic.List(MusicIndex); });

  if (send("close all", 0) != 0) return;
  const char* type = EndsWithNoCase(path, ".mid") ? "sequencer" : "MPEGVideo";
  if (send("open " + Quoted(path) + " type " + type + " alias MUSIC", 0) != 0) return;
  if (send("play MUSIC from 0 notify", Handle()) != 0) return;
  send("open " + Quoted(path) + " type sequencer alias MUSIC2", 0);

  if (Automatic) {
    Step([&] { IncrementInt16(MusicIndex); });
  }
}

void FormSlideShow::StopMusic() {
  Step([&] { services_.media.mciSendString("close all", 0); });
}

// The probe device "MUSIC2" is a sequencer and can only play once the synthesiser is free, that
// is when a MIDI song on "MUSIC" has ended. A song of any other type never gets a working probe
// (the sequencer does not open it), so the mode of "MUSIC" itself is asked as well: "stopped"
// means it has played to its end. A song whose play failed also reads "stopped"; it is retried
// here, once per due slide change and never more.
void FormSlideShow::CheckSongEnd() {
  if (MP3Flag || !MusicFlag) return;
  std::uint32_t probe = kCallFailed;
  Step([&] { probe = services_.media.mciSendString("play MUSIC2 from 0 notify", Handle()); });
  bool ended = probe == 0;
  if (!ended) {
    Step([&] {
      std::string mode;
      const std::uint32_t result = services_.media.mciSendString("status MUSIC mode", &mode, 0);
      ended = result == 0 && mode == "stopped";
    });
  }
  if (ended) PlayMusic(true);
}

}  // namespace trelvin
