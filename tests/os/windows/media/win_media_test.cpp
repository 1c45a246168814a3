// The system's media control interface through the service: return codes and replies. Without a
// MIDI synthesiser Wine's sequencer never advances, so a song's end is tested on the fake only.
#include <windows.h>

#include <gtest/gtest.h>

#include <mmsystem.h>
// The service's method has the name of the system's macro.
#undef mciSendString

#include <string>

#include "os/windows/TestFiles.h"
#include "os/windows/media/WinMediaControl.h"

namespace trelvin {
namespace {

using test_support::FreshFolder;
using test_support::MidiSong;
using test_support::SilentMp3;
using test_support::WriteBytes;

class WinMediaControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override { media_.mciSendString("close all", 0); }

  std::string Quoted(const std::string& name) { return "\"" + folder_ + name + "\""; }

  std::string folder_;
  WinMediaControl media_;
};

TEST_F(WinMediaControlTest, AMissingFileOrAnUnknownCommandFailsWithTheSystemsCode) {
  std::string reply = "untouched";
  const std::uint32_t result =
      media_.mciSendString("open " + Quoted("none.mp3") + " type MPEGVideo alias MUSIC", &reply, 0);
  EXPECT_NE(result, 0u);
  EXPECT_EQ(reply, "");
  // The alias was never made.
  EXPECT_NE(media_.mciSendString("play MUSIC from 0 notify", 0), 0u);
  // An unknown command is an error, not a crash.
  EXPECT_EQ(media_.mciSendString("frobnicate MUSIC", 0), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(media_.mciSendString("close all", 0), 0u);
}

TEST_F(WinMediaControlTest, AMidiFilePlaysOnTheSequencerAnMp3ToItsEndOnMpegVideo) {
  WriteBytes(folder_ + "song.mid", MidiSong(2.0));
  ASSERT_EQ(media_.mciSendString("open " + Quoted("song.mid") + " type sequencer alias MUSIC", 0),
            0u);
  EXPECT_EQ(media_.mciSendString("play MUSIC from 0 notify", 0), 0u);
  std::string mode;
  EXPECT_EQ(media_.mciSendString("status MUSIC mode", &mode, 0), 0u);
  EXPECT_FALSE(mode.empty());
  EXPECT_EQ(media_.mciSendString("close all", 0), 0u);
  EXPECT_NE(media_.mciSendString("status MUSIC mode", &mode, 0), 0u);
  // An MP3 opens on MPEGVideo, plays to its end and then reads "stopped".
  WriteBytes(folder_ + "song.mp3", SilentMp3(0.5));
  ASSERT_EQ(media_.mciSendString("open " + Quoted("song.mp3") + " type MPEGVideo alias MUSIC", 0),
            0u);
  ASSERT_EQ(media_.mciSendString("play MUSIC from 0 notify", 0), 0u);
  // The show asks this mode at slide changes; "stopped" once the song has ended.
  const DWORD end = GetTickCount() + 20000;
  do {
    ASSERT_EQ(media_.mciSendString("status MUSIC mode", &mode, 0), 0u);
    if (mode == "stopped") break;
    Sleep(50);  // no event to wait on without a window; polls the device's own state
  } while (GetTickCount() < end);
  EXPECT_EQ(mode, "stopped");
}

}  // namespace
}  // namespace trelvin
