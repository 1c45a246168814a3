// The media command interpreter on a fake engine: parsing, result codes, the device table.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "os/linux/media/mci/MciErrors.h"
#include "os/linux/media/mci/MciInterpreter.h"
#include "os/linux/media/mci/MciParser.h"

namespace trelvin {
namespace {

// An ideal engine over a table of files; each stream plays until the test ends it.
class FakeMediaEngine : public MediaEngine {
 public:
  enum class Kind { kMidi, kAudio, kJunk };

  class FakeStream : public MediaStream {
   public:
    FakeStream(FakeMediaEngine& engine, std::string path, bool midi)
        : engine_(engine), path_(std::move(path)), midi_(midi) {
      engine_.streams_.push_back(this);
    }
    ~FakeStream() override { std::erase(engine_.streams_, this); }
    bool Play() override {
      ++engine_.plays;
      if (engine_.play_fails) return false;
      mode_ = StreamMode::kPlaying;
      return true;
    }
    StreamMode Mode() const override { return mode_; }
    bool UsesSynthesiser() const override { return midi_; }
    void SetMode(StreamMode mode) { mode_ = mode; }
    const std::string& path() const { return path_; }

   private:
    FakeMediaEngine& engine_;
    std::string path_;
    bool midi_;
    StreamMode mode_ = StreamMode::kStopped;
  };

  std::unique_ptr<MediaStream> Open(const std::string& path, DeviceType type,
                                    MediaError& error) override {
    opened.push_back({path, type});
    auto it = files.find(path);
    if (it == files.end()) {
      error = MediaError::kFileNotFound;
      return nullptr;
    }
    const bool midi = it->second == Kind::kMidi;
    if (it->second == Kind::kJunk || (type == DeviceType::kSequencer && !midi)) {
      error = MediaError::kInvalidFile;
      return nullptr;
    }
    return std::make_unique<FakeStream>(*this, path, midi);
  }

  // Lets the songs of `path` reach their end (or any other mode).
  void SetMode(const std::string& path, StreamMode mode) {
    for (FakeStream* stream : streams_) {
      if (stream->path() == path) stream->SetMode(mode);
    }
  }
  bool IsOpen(const std::string& path) const {
    return std::any_of(streams_.begin(), streams_.end(),
                       [&](const FakeStream* stream) { return stream->path() == path; });
  }

  std::map<std::string, Kind> files;
  std::vector<std::pair<std::string, DeviceType>> opened;
  int plays = 0;
  bool play_fails = false;

 private:
  std::vector<FakeStream*> streams_;
};

class MciInterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.files["/music/a b.mid"] = FakeMediaEngine::Kind::kMidi;
    engine_.files["/music/c.mid"] = FakeMediaEngine::Kind::kMidi;
    engine_.files["/music/song.mp3"] = FakeMediaEngine::Kind::kAudio;
    engine_.files["/music/notes.txt"] = FakeMediaEngine::Kind::kJunk;
  }
  std::uint32_t Send(const std::string& command) { return mci_.mciSendString(command, 0); }
  std::string Mode(const std::string& alias) {
    std::string reply = "unchanged";
    const std::uint32_t result = mci_.mciSendString("status " + alias + " mode", &reply, 0);
    return result == 0 ? reply : "error " + std::to_string(result) + " '" + reply + "'";
  }

  FakeMediaEngine engine_;
  MciInterpreter mci_{engine_};
};

TEST(MciParserTest, SplitsVerbQuotedFirstArgumentAndWords) {
  mci::MciCommand command;
  ASSERT_EQ(mci::ParseCommand(" \tOPEN  \"/a \"b\" c\"  TYPE\tx  ", command), mci::kOk);
  EXPECT_EQ(command.verb, "open");
  EXPECT_EQ(command.device, "/a \"b\" c");
  EXPECT_EQ(command.words, (std::vector<std::string>{"TYPE", "x"}));

  ASSERT_EQ(mci::ParseCommand("close all", command), mci::kOk);
  EXPECT_EQ(command.device, "all");
  EXPECT_TRUE(command.words.empty());

  EXPECT_EQ(mci::ParseCommand("   ", command), mci::kErrMissingCommandString);
  EXPECT_EQ(mci::ParseCommand("open \"/music/a.mid type sequencer", command),
            mci::kErrNoClosingQuote);
}

TEST_F(MciInterpreterTest, KeywordsIgnoreCaseAndSpacingAndPathsKeepTheirBlanks) {
  EXPECT_EQ(Send("  Open   \"/music/a b.mid\"\t TYPE  Sequencer   ALIAS music  "), 0u);
  ASSERT_EQ(engine_.opened.size(), 1u);
  EXPECT_EQ(engine_.opened[0].first, "/music/a b.mid");
  EXPECT_EQ(engine_.opened[0].second, DeviceType::kSequencer);
  EXPECT_EQ(Send("PLAY Music FROM 0 Notify"), 0u);
  EXPECT_EQ(Mode("MUSIC"), "playing");
  EXPECT_EQ(Send("open \"/music/song.mp3\" type mpegvideo alias MUSIC2"), 0u);
  EXPECT_EQ(engine_.opened[1].second, DeviceType::kMpegVideo);
}

TEST_F(MciInterpreterTest, QuotesInsideAFileNameNeverChangeTypeOrAlias) {
  // The file is called `x" type MPEGVideo alias MUSIC2".mid`.
  const std::string name = "/music/x\" type MPEGVideo alias MUSIC2\".mid";
  engine_.files[name] = FakeMediaEngine::Kind::kMidi;
  EXPECT_EQ(Send("open \"" + name + "\" type sequencer alias MUSIC"), 0u);
  ASSERT_EQ(engine_.opened.size(), 1u);
  EXPECT_EQ(engine_.opened[0].first, name);
  EXPECT_EQ(engine_.opened[0].second, DeviceType::kSequencer);
  EXPECT_EQ(Mode("MUSIC"), "stopped");
  EXPECT_EQ(Mode("MUSIC2"), "error 263 ''");

  // A missing file of such a name fails cleanly and opens nothing else.
  const std::string missing = "/music/y\" type MPEGVideo alias MUSIC3 \"/music/song.mp3";
  EXPECT_EQ(Send("open \"" + missing + "\" type sequencer alias MUSIC4"), mci::kErrFileNotFound);
  EXPECT_EQ(engine_.opened.back().first, missing);
  EXPECT_EQ(mci_.OpenDeviceCount(), 1u);
  EXPECT_EQ(Mode("MUSIC3"), "error 263 ''");
}

TEST_F(MciInterpreterTest, ResultCodesAsWindowsGivesThemAndStatusModeRepliesForEachMode) {
  EXPECT_EQ(Send("pause MUSIC"), mci::kErrUnrecognizedCommand);
  EXPECT_EQ(Send("play NOSUCH from 0 notify"), mci::kErrInvalidDeviceName);
  EXPECT_EQ(Send("close NOSUCH"), mci::kErrInvalidDeviceName);
  EXPECT_EQ(Mode("NOSUCH"), "error 263 ''");
  EXPECT_EQ(Send("open \"/music/nothing.mid\" type sequencer alias MUSIC"), mci::kErrFileNotFound);
  EXPECT_EQ(Send("open \"/music/song.mp3\" type sequencer alias MUSIC"), mci::kErrInvalidFile);
  EXPECT_EQ(Send("open \"/music/notes.txt\" type MPEGVideo alias MUSIC"), mci::kErrInvalidFile);
  EXPECT_EQ(Send("open \"/music/c.mid\" type waveaudio alias MUSIC"), mci::kErrInvalidDeviceName);
  EXPECT_EQ(Send("open \"/music/c.mid\" alias MUSIC"), mci::kErrExtensionNotFound);
  EXPECT_EQ(Send("open \"/music/c.mid\" type sequencer alias"), mci::kErrMissingStringArgument);
  EXPECT_EQ(Send("open \"/music/c.mid\" type sequencer bogus MUSIC"), mci::kErrUnrecognizedKeyword);
  EXPECT_EQ(mci_.OpenDeviceCount(), 0u);

  ASSERT_EQ(Send("open \"/music/c.mid\" type sequencer alias MUSIC"), 0u);
  EXPECT_EQ(Send("open \"/music/song.mp3\" type MPEGVideo alias music"), mci::kErrDuplicateAlias);
  EXPECT_EQ(mci_.OpenDeviceCount(), 1u);
  EXPECT_EQ(engine_.opened.back().first, "/music/c.mid");  // the duplicate never reached a file
  EXPECT_EQ(Send("play MUSIC from 5"), mci::kErrUnsupportedFunction);
  EXPECT_EQ(Send("play MUSIC wait"), mci::kErrUnsupportedFunction);
  EXPECT_EQ(Send("play all from 0"), mci::kErrCannotUseAll);
  EXPECT_EQ(Send("status MUSIC"), mci::kErrMissingParameter);
  EXPECT_EQ(Send("status MUSIC length"), mci::kErrUnrecognizedKeyword);
  EXPECT_EQ(Send("close MUSIC"), 0u);
  EXPECT_EQ(mci_.OpenDeviceCount(), 0u);
  // "status ... mode" replies for each mode.
  ASSERT_EQ(Send("open \"/music/song.mp3\" type MPEGVideo alias MUSIC"), 0u);
  EXPECT_EQ(Mode("MUSIC"), "stopped");
  ASSERT_EQ(Send("play MUSIC from 0 notify"), 0u);
  EXPECT_EQ(Mode("music"), "playing");
  engine_.SetMode("/music/song.mp3", StreamMode::kNotReady);
  EXPECT_EQ(Mode("MUSIC"), "not ready");
  engine_.SetMode("/music/song.mp3", StreamMode::kStopped);
  EXPECT_EQ(Mode("MUSIC"), "stopped");
  EXPECT_EQ(Send("status MUSIC mode"), 0u);  // without a reply buffer
}

TEST_F(MciInterpreterTest, OneSynthesiserPortIsShared) {
  ASSERT_EQ(Send("open \"/music/c.mid\" type sequencer alias MUSIC"), 0u);
  ASSERT_EQ(Send("open \"/music/c.mid\" type sequencer alias MUSIC2"), 0u);
  ASSERT_EQ(Send("play MUSIC from 0 notify"), 0u);
  EXPECT_EQ(Send("play MUSIC2 from 0 notify"), mci::kErrSeqPortInUse);
  EXPECT_EQ(Mode("MUSIC2"), "stopped");
  EXPECT_EQ(Send("play MUSIC from 0 notify"), 0u);  // the holder may start again

  engine_.SetMode("/music/c.mid", StreamMode::kStopped);  // the song on MUSIC reached its end
  EXPECT_EQ(Send("play MUSIC2 from 0 notify"), 0u);
  EXPECT_EQ(Send("play MUSIC from 0 notify"), mci::kErrSeqPortInUse);
}

TEST_F(MciInterpreterTest, MidiOnAnotherDeviceTypeHoldsThePortButOtherAudioDoesNot) {
  ASSERT_EQ(Send("open \"/music/song.mp3\" type MPEGVideo alias MUSIC"), 0u);
  ASSERT_EQ(Send("open \"/music/c.mid\" type sequencer alias MUSIC2"), 0u);
  ASSERT_EQ(Send("play MUSIC from 0 notify"), 0u);
  EXPECT_EQ(Send("play MUSIC2 from 0 notify"), 0u);
  EXPECT_EQ(Send("close all"), 0u);

  ASSERT_EQ(Send("open \"/music/a b.mid\" type MPEGVideo alias MUSIC"), 0u);
  ASSERT_EQ(Send("open \"/music/c.mid\" type sequencer alias MUSIC2"), 0u);
  ASSERT_EQ(Send("play MUSIC from 0 notify"), 0u);
  EXPECT_EQ(Send("play MUSIC2 from 0 notify"), mci::kErrSeqPortInUse);
}

TEST_F(MciInterpreterTest, CloseAllAndFailuresLeaveTheTableAsDocumented) {
  EXPECT_EQ(Send("close all"), 0u);  // nothing open

  // A failed open leaves nothing behind: the alias is free again.
  EXPECT_EQ(Send("open \"/music/song.mp3\" type sequencer alias MUSIC"), mci::kErrInvalidFile);
  EXPECT_EQ(mci_.OpenDeviceCount(), 0u);
  EXPECT_EQ(Send("open \"/music/song.mp3\" type MPEGVideo alias MUSIC"), 0u);

  // A failed play leaves the device open and silent.
  engine_.play_fails = true;
  EXPECT_NE(Send("play MUSIC from 0 notify"), 0u);
  EXPECT_EQ(mci_.OpenDeviceCount(), 1u);
  EXPECT_EQ(Mode("MUSIC"), "stopped");
  engine_.play_fails = false;

  ASSERT_EQ(Send("play MUSIC from 0 notify"), 0u);
  ASSERT_EQ(Send("open \"/music/c.mid\" type sequencer alias MUSIC2"), 0u);
  EXPECT_EQ(Send("close all"), 0u);
  EXPECT_EQ(mci_.OpenDeviceCount(), 0u);
  EXPECT_FALSE(engine_.IsOpen("/music/song.mp3"));
  EXPECT_FALSE(engine_.IsOpen("/music/c.mid"));
}

}  // namespace
}  // namespace trelvin
