// The media command interpreter on the real GStreamer engine, with songs made by the tests and
// played in real time into a silent output.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"
#include "os/linux/media/GstMediaEngine.h"
#include "os/linux/media/mci/MciErrors.h"
#include "os/linux/media/mci/MciInterpreter.h"
#include "support/PosixFiles.h"
#include "support/SongFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test_support::MidiSong;
using test_support::WriteBytes;

double SecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

bool WaitFor(const std::function<bool()>& done, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

class GstMusicTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::setenv("TRELVIN_AUDIO_SINK", "fakesink sync=true", 1); }

  void SetUp() override {
    engine_.SetFirstBufferObserver([this](const std::string& path) {
      std::lock_guard lock(mutex_);
      starts_.push_back({fs::path(path).filename().string(), Clock::now()});
    });
  }
  void TearDown() override {
    mci_.mciSendString("close all", 0);
    engine_.Flush();
    engine_.SetFirstBufferObserver(nullptr);
  }

  std::uint32_t Send(const std::string& command) { return mci_.mciSendString(command, 0); }
  std::string Mode(const std::string& alias) {
    std::string reply;
    return mci_.mciSendString("status " + alias + " mode", &reply, 0) == 0 ? reply : "error";
  }
  std::string Open(const std::string& name, const std::string& type, const std::string& alias) {
    return "open \"" + dir_ + name + "\" type " + type + " alias " + alias;
  }
  // When the first audio of each song reached the output, in order.
  std::vector<std::pair<std::string, Clock::time_point>> Starts() {
    std::lock_guard lock(mutex_);
    return starts_;
  }
  // Runs the song-end check every 100 ms, as a slide interval of 0.1 s would, until `song` has
  // started; returns its start.
  std::optional<Clock::time_point> CheckUntilStarted(FormSlideShow& show, const std::string& song,
                                                     double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline) {
      for (const auto& [name, at] : Starts()) {
        if (name == song) return at;
      }
      show.CheckSongEnd();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
  }

  test_support::TempDir temp_{"trelvin-music"};
  const std::string dir_ = temp_.slash();
  std::mutex mutex_;
  std::vector<std::pair<std::string, Clock::time_point>> starts_;
  GstMediaEngine engine_{GstMediaEngine::AudioSinkFromEnvironment()};
  MciInterpreter mci_{engine_};
};

// The slide-show window over the real interpreter, with fakes for everything else.
struct ShowOnRealMedia {
  explicit ShowOnRealMedia(MediaControl& media, const std::string& program_path)
      : services(p.With(nullptr, &media)) {
    show.MusicPath = program_path;
    show.MusicFlag = true;
  }
  fakes::FakePlatform p;
  Services services;
  FormMainSlide main{services, ""};
  FormSlideShow& show = main.formSlideShow();
};

// A song plays its whole length in real time: it never ends early. How late its end is seen
// depends on the machine's load (a busy machine delays the audio threads and the polling), so the
// upper bound only catches a song that runs on instead of ending.
void ExpectEndedAfter(double seconds, double song_length) {
  EXPECT_GE(seconds, song_length - 0.15) << "the song ended before its length";
  EXPECT_LT(seconds, song_length + 3.0) << "the song's end came far too late";
}

TEST_F(GstMusicTest, SequencerSongEndsOnTimeAndThenFreesTheSynthesiser) {
  WriteBytes(dir_ + "a.mid", MidiSong(1.0));
  ASSERT_EQ(Send(Open("a.mid", "sequencer", "MUSIC")), 0u);
  ASSERT_EQ(Send(Open("a.mid", "sequencer", "MUSIC2")), 0u);
  ASSERT_EQ(Send("play MUSIC from 0 notify"), 0u);
  const auto answered = Clock::now();
  EXPECT_EQ(Mode("MUSIC"), "playing");
  EXPECT_EQ(Send("play MUSIC2 from 0 notify"), mci::kErrSeqPortInUse);

  ASSERT_TRUE(WaitFor([&] { return !Starts().empty(); }, 10)) << "no audio came out";
  const Clock::time_point heard = Starts()[0].second;
  // Loading the sound font takes about a tenth of a second, so a play that waited for the
  // synthesiser answers only after the first audio.
  EXPECT_LT(answered, heard) << "play waited for the synthesiser";
  ASSERT_TRUE(WaitFor([&] { return Mode("MUSIC") != "playing"; }, 10));
  EXPECT_EQ(Mode("MUSIC"), "stopped");
  ExpectEndedAfter(SecondsBetween(heard, Clock::now()), 1.0);
  EXPECT_EQ(Send("play MUSIC2 from 0 notify"), 0u);
}

// A sequencer song's end is seen through the probe, an MPEG song's (which the sequencer refuses:
// no probe) through its mode.
TEST_F(GstMusicTest, NextSongStartsAtTheCheckAfterTheEnd) {
  WriteBytes(dir_ + "a.mid", MidiSong(0.8));
  ASSERT_TRUE(test_support::WriteMp3Song(dir_ + "a song.mp3", 0.6));
  WriteBytes(dir_ + "b.mid", MidiSong(5.0));
  for (const auto& [first, length] : {std::pair{"a.mid", 0.8}, std::pair{"a song.mp3", 0.6}}) {
    SCOPED_TRACE(first);
    Send("close all");
    engine_.Flush();
    {
      std::lock_guard lock(mutex_);
      starts_.clear();
    }
    ShowOnRealMedia slide_show(mci_, dir_);
    FormSlideShow& show = slide_show.show;
    show.lstMusic.AddItem("b.mid");
    show.lstMusic.AddItem(first);
    show.PlayMusic(true);
    EXPECT_EQ(Mode("MUSIC2") == "error", std::string(first).ends_with(".mp3"));

    const auto b_start = CheckUntilStarted(show, "b.mid", 10);
    ASSERT_TRUE(b_start.has_value()) << "the next song never started";
    const auto starts = Starts();
    ASSERT_EQ(starts.size(),
              2u);  // the first once, then b; the probe never made a sound of its own
    EXPECT_EQ(starts[0].first, first);
    ExpectEndedAfter(SecondsBetween(starts[0].second, *b_start), length);
    EXPECT_EQ(show.MusicIndex, 2);
  }
}

TEST_F(GstMusicTest, FilesADeviceCannotPlayFailToOpenAndAQuotedNameOpensExactlyThatFile) {
  WriteBytes(dir_ + "notes.mp3", std::vector<std::uint8_t>(4000, 'x'));
  fs::create_directory(dir_ + "folder.mp3");
  WriteBytes(dir_ + "song.mid", MidiSong(0.5));
  WriteBytes(dir_ + "midi.mp3", MidiSong(0.5));  // MIDI by content, whatever the name
  ASSERT_TRUE(test_support::WriteMp3Song(dir_ + "tune.mid", 0.3));

  EXPECT_EQ(Send(Open("notes.mp3", "MPEGVideo", "MUSIC")), mci::kErrInvalidFile);
  EXPECT_EQ(Send(Open("folder.mp3", "MPEGVideo", "MUSIC")), mci::kErrInvalidFile);
  EXPECT_EQ(Send(Open("none.mp3", "MPEGVideo", "MUSIC")), mci::kErrFileNotFound);
  EXPECT_EQ(Send(Open("tune.mid", "sequencer", "MUSIC")), mci::kErrInvalidFile);
  EXPECT_EQ(mci_.OpenDeviceCount(), 0u);
  EXPECT_EQ(Send(Open("midi.mp3", "sequencer", "MUSIC")), 0u);
  EXPECT_EQ(Send(Open("tune.mid", "MPEGVideo", "MUSIC2")), 0u);
  if (::geteuid() != 0) {  // permissions do not hold back root
    ::chmod((dir_ + "song.mid").c_str(), 0);
    EXPECT_EQ(Send(Open("song.mid", "sequencer", "MUSIC3")), mci::kErrInvalidFile);
  }
  // A quoted name opens exactly that file.
  ASSERT_EQ(Send("close all"), 0u);
  const std::string name = "q\" type MPEGVideo alias MUSIC2\".mid";
  WriteBytes(dir_ + name, MidiSong(0.5));
  ASSERT_TRUE(test_support::WriteMp3Song(dir_ + "q", 0.3));
  EXPECT_EQ(Send(Open(name, "sequencer", "MUSIC")), 0u);
  EXPECT_EQ(Mode("MUSIC2"), "error");
  ASSERT_EQ(Send("play MUSIC from 0 notify"), 0u);
  ASSERT_TRUE(WaitFor([&] { return !Starts().empty(); }, 10));
  EXPECT_EQ(Starts()[0].first, name);
}

TEST(GstMusicOutputTest, WithoutAnAudioDeviceSongsStillEndOnTime) {
  const test_support::TempDir temp("trelvin-music-out");
  const std::string dir = temp.slash();
  WriteBytes(dir + "a.mid", MidiSong(0.8));
  for (const char* sink : {"alsasink device=hw:97,0", "nosuchelement ! fakesink"}) {
    GstMediaEngine engine(sink);
    MciInterpreter mci(engine);
    std::atomic<bool> heard{false};
    engine.SetFirstBufferObserver([&](const std::string&) { heard = true; });
    ASSERT_EQ(mci.mciSendString("open \"" + dir + "a.mid\" type sequencer alias MUSIC", 0), 0u);
    ASSERT_EQ(mci.mciSendString("play MUSIC from 0", 0), 0u);
    ASSERT_TRUE(WaitFor([&] { return heard.load(); }, 10)) << sink;
    const auto start = Clock::now();
    std::string mode = "playing";
    ASSERT_TRUE(WaitFor(
        [&] { return mci.mciSendString("status MUSIC mode", &mode, 0) == 0 && mode != "playing"; },
        10));
    ExpectEndedAfter(SecondsBetween(start, Clock::now()), 0.8);
    mci.mciSendString("close all", 0);
    engine.Flush();
  }
}

}  // namespace
}  // namespace trelvin
