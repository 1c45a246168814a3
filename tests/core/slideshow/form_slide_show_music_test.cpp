// Music playback of the slide show: the exact command texts, their order and the song choice.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

using Commands = std::vector<std::string>;

std::string OpenMusic(const std::string& path, const std::string& type) {
  return "open \"" + path + "\" type " + type + " alias MUSIC";
}
std::string OpenProbe(const std::string& path) {
  return "open \"" + path + "\" type sequencer alias MUSIC2";
}

class MusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    show_.MusicPath = NativePath("/opt/my music/");
    show_.MusicFlag = true;
  }
  void AddSongs(const std::vector<std::string>& names) {
    for (const std::string& name : names) show_.lstMusic.AddItem(name);
  }
  Commands& sent() { return platform_.media.commands; }
  std::vector<std::string> PlayedSongs() { return platform_.media.OpenedSongs(); }

  fakes::FakePlatform platform_;
  FormMainSlide main_{platform_.services, ""};
  FormSlideShow& show_ = main_.formSlideShow();
};

// An empty list sends nothing; StopMusic closes all whatever the result.
TEST_F(MusicTest, EmptyListSendsNothingAndStopClosesAll) {
  show_.PlayMusic(true);
  show_.PlayMusic(false);
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(show_.MusicIndex, 0);
  platform_.media.results["close all"] = 263;
  show_.StopMusic();
  EXPECT_EQ(sent(), (Commands{"close all"}));
}

TEST_F(MusicTest, AutomaticStartSendsTheCommandsInOrderAndAdvances) {
  AddSongs({"b.mp3", "A tune.MID"});  // the list sorts: "A tune.MID" first
  show_.PlayMusic(true);
  const std::string path = NativePath("/opt/my music/A tune.MID");
  EXPECT_EQ(sent(), (Commands{"close all", OpenMusic(path, "sequencer"), "play MUSIC from 0 notify",
                              OpenProbe(path)}));
  const auto& callbacks = platform_.media.callbacks;
  EXPECT_EQ(callbacks, (std::vector<WindowHandle>{0, 0, show_.Handle(), 0}));
  EXPECT_EQ(show_.MusicIndex, 1);
  // In order, and round again after the last.
  for (int i = 0; i < 2; ++i) show_.PlayMusic(true);
  EXPECT_EQ(PlayedSongs(), (std::vector<std::string>{"A tune.MID", "b.mp3", "A tune.MID"}));
  EXPECT_EQ(show_.MusicIndex, 1);
}

TEST_F(MusicTest, RandomChoiceUsesTheDrawnValue) {
  AddSongs({"a.mid", "b.mid", "c.mid"});
  show_.RandomFlag = true;
  platform_.random.values = {0.5f, 0.99999994f, 0.0f};
  for (int i = 0; i < 3; ++i) show_.PlayMusic(true);
  EXPECT_EQ(PlayedSongs(), (std::vector<std::string>{"b.mid", "c.mid", "a.mid"}));

  // With one song every draw gives that song.
  show_.lstMusic.Clear();
  AddSongs({"only.mid"});
  sent().clear();
  platform_.random.values = {0.99f, 0.5f, 0.0f};
  for (int i = 0; i < 3; ++i) show_.PlayMusic(true);
  EXPECT_EQ(PlayedSongs(), (std::vector<std::string>{"only.mid", "only.mid", "only.mid"}));
}

TEST_F(MusicTest, ASecondShowGoesOnFromTheRememberedIndexAndKeysPlayItAsItIs) {
  AddSongs({"a.mid", "b.mid", "c.mid"});
  show_.MusicIndex = 2;  // left behind by the earlier show
  show_.PlayMusic(true);
  show_.MusicIndex = 7;  // past the end of a shorter list
  show_.PlayMusic(true);
  EXPECT_EQ(PlayedSongs(), (std::vector<std::string>{"c.mid", "a.mid"}));
  show_.MusicIndex = 1;  // keys play the index as it is
  show_.PlayMusic(false);
  EXPECT_EQ(PlayedSongs().back(), "b.mid");
  EXPECT_EQ(show_.MusicIndex, 1);
}

TEST_F(MusicTest, DeviceTypeFollowsTheLastFourLettersOfTheName) {
  AddSongs({"x.Mid", "tune.mid.mp3", "y.MID", "z.midi"});
  for (int i = 0; i < 4; ++i) show_.PlayMusic(true);
  EXPECT_EQ(sent()[1], OpenMusic(NativePath("/opt/my music/tune.mid.mp3"), "MPEGVideo"));
  EXPECT_EQ(sent()[5], OpenMusic(NativePath("/opt/my music/x.Mid"), "sequencer"));
  EXPECT_EQ(sent()[9], OpenMusic(NativePath("/opt/my music/y.MID"), "sequencer"));
  EXPECT_EQ(sent()[13], OpenMusic(NativePath("/opt/my music/z.midi"), "MPEGVideo"));
  // The probe is a sequencer whatever the song.
  EXPECT_EQ(sent()[3], OpenProbe(NativePath("/opt/my music/tune.mid.mp3")));
}

TEST_F(MusicTest, AFailingSongHaltsOnItsEntryUntilAKey) {
  AddSongs({"a.mid", "b.mp3", "c.mid"});
  show_.MusicIndex = 1;
  const std::string open_b = OpenMusic(NativePath("/opt/my music/b.mp3"), "MPEGVideo");
  platform_.media.results[open_b] = 296;
  platform_.media.results["play MUSIC2 from 0 notify"] = 263;
  platform_.media.results["status MUSIC mode"] = 263;
  show_.PlayMusic(true);
  EXPECT_EQ(sent(), (Commands{"close all", open_b}));
  EXPECT_EQ(show_.MusicIndex, 1);

  for (int i = 0; i < 3; ++i) show_.CheckSongEnd();  // nothing is open, nothing ends
  EXPECT_EQ(PlayedSongs().size(), 1u);

  show_.StopMusic();  // M off and on again retries the same entry
  show_.PlayMusic(true);
  EXPECT_EQ(PlayedSongs(), (std::vector<std::string>{"b.mp3", "b.mp3"}));

  show_.MusicIndex = 2;  // + steps past it
  show_.PlayMusic(false);
  EXPECT_EQ(PlayedSongs().back(), "c.mid");
  EXPECT_EQ(sent().back(), OpenProbe(NativePath("/opt/my music/c.mid")));
}

TEST_F(MusicTest, AFailedPlayIsRetriedAtMostOncePerSlideChange) {
  AddSongs({"a.mp3", "b.mp3"});
  platform_.media.results["play MUSIC from 0 notify"] = 263;
  platform_.media.results["play MUSIC2 from 0 notify"] = 263;
  platform_.media.replies["status MUSIC mode"] = "stopped";  // open and silent
  show_.PlayMusic(true);
  EXPECT_EQ(sent().back(), "play MUSIC from 0 notify");
  for (int i = 0; i < 5; ++i) show_.CheckSongEnd();
  EXPECT_EQ(PlayedSongs(), Commands(6, "a.mp3"));
  EXPECT_EQ(show_.MusicIndex, 0);
}

TEST_F(MusicTest, ASequencerSongEndsWhenTheProbePlays) {
  AddSongs({"a.mid", "b.mid"});
  platform_.media.results["play MUSIC2 from 0 notify"] = 337;  // the song still plays
  show_.PlayMusic(true);
  show_.CheckSongEnd();
  EXPECT_EQ(PlayedSongs().size(), 1u);

  platform_.media.results["play MUSIC2 from 0 notify"] = 0;  // it has ended
  sent().clear();
  platform_.media.callbacks.clear();
  show_.CheckSongEnd();
  EXPECT_EQ(sent(),
            (Commands{"play MUSIC2 from 0 notify", "close all",
                      OpenMusic(NativePath("/opt/my music/b.mid"), "sequencer"),
                      "play MUSIC from 0 notify", OpenProbe(NativePath("/opt/my music/b.mid"))}));
  EXPECT_EQ(platform_.media.callbacks[0], show_.Handle());
}

TEST_F(MusicTest, AnMpegSongEndsWhenItsModeReadsStopped) {
  AddSongs({"a.mp3", "b.mp3"});
  platform_.media.results["play MUSIC2 from 0 notify"] = 263;  // no probe for MPEG songs
  platform_.media.replies["status MUSIC mode"] = "playing";
  show_.PlayMusic(true);
  sent().clear();
  show_.CheckSongEnd();
  EXPECT_EQ(sent(), (Commands{"play MUSIC2 from 0 notify", "status MUSIC mode"}));

  platform_.media.replies["status MUSIC mode"] = "stopped";
  show_.CheckSongEnd();
  EXPECT_EQ(PlayedSongs(), (std::vector<std::string>{"b.mp3"}));
  show_.CheckSongEnd();  // b has ended as well: the list begins again
  EXPECT_EQ(PlayedSongs(), (std::vector<std::string>{"b.mp3", "a.mp3"}));
}

TEST_F(MusicTest, SongEndCheckRunsOnlyForTheProgramsOwnMusic) {
  AddSongs({"a.mid"});
  show_.MP3Flag = true;
  show_.CheckSongEnd();
  show_.MP3Flag = false;
  show_.MusicFlag = false;
  show_.CheckSongEnd();
  EXPECT_TRUE(sent().empty());

  show_.lstMusic.Clear();  // music on, but no songs: the probe fails, nothing starts
  show_.MusicFlag = true;
  platform_.media.results["play MUSIC2 from 0 notify"] = 263;
  platform_.media.results["status MUSIC mode"] = 263;
  show_.CheckSongEnd();
  EXPECT_EQ(sent(), (Commands{"play MUSIC2 from 0 notify", "status MUSIC mode"}));
}

// A close that fails, or a media call that throws, ends PlayMusic there: the index stays.
TEST_F(MusicTest, AFailedCloseOrAThrowingCallEndsPlayMusicThere) {
  AddSongs({"a.mid"});
  platform_.media.results["close all"] = 277;
  show_.PlayMusic(true);
  EXPECT_EQ(sent(), (Commands{"close all"}));
  platform_.media.responder = [](const std::string& command) -> std::uint32_t {
    if (command.rfind("play", 0) == 0) throw std::runtime_error("gone");
    return 0;
  };
  show_.PlayMusic(true);
  EXPECT_EQ(sent().size(), 4u);  // no probe after the failed play
  EXPECT_EQ(show_.MusicIndex, 0);
}

// Without a playlist the shell is asked to open nothing, and fails.
TEST_F(MusicTest, StartWinampHandsThePlaylistToTheShellHidden) {
  platform_.shell.result = false;
  main_.StartWinamp();
  const std::string playlist = platform_.known_paths.playlists[1];
  platform_.files.Add(playlist);
  platform_.shell.result = true;
  main_.StartWinamp();
  ASSERT_EQ(platform_.shell.calls.size(), 2u);
  EXPECT_EQ(platform_.shell.calls[0].target, "");
  EXPECT_EQ(platform_.shell.calls[1].target, playlist);
  EXPECT_EQ(platform_.shell.calls[1].working_directory, "");
  EXPECT_EQ(platform_.shell.calls[1].show_command, kSwHide);
  // A playlist is a document: opened, never run, whatever its permissions or first line say.
  EXPECT_FALSE(platform_.shell.calls[1].program);
  EXPECT_TRUE(sent().empty());
}

}  // namespace
}  // namespace trelvin
