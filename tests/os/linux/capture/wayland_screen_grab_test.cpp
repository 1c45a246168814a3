// The Wayland grab's session on a scripted portal and stream: asked at the start, the token kept,
// frames only from the running stream, one renewed request after the desktop ends the session.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "os/linux/capture/WaylandScreenGrab.h"
#include "support/PosixFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

constexpr Rgb kBack = 0xF0F0F0;

// A portal whose answers the test gives by hand, as the event loop would deliver them.
class ScriptedPortal : public ScreenCastPortal {
 public:
  void Open(const std::string& restore_token, Done done, Closed closed) override {
    tokens.push_back(restore_token);
    done_ = std::move(done);
    closed_ = std::move(closed);
  }
  void Close() override {
    ++closes;
    done_ = nullptr;
    closed_ = nullptr;
  }
  bool Pending() const { return done_ != nullptr; }
  // The desktop's answer; a started session hands over a real descriptor, as the portal does.
  void Answer(ScreenCastOutcome outcome, const std::string& new_token = "",
              std::uint32_t node = 7) {
    ASSERT_TRUE(done_);
    ScreenCastGrant grant;
    if (outcome == ScreenCastOutcome::kStarted) grant = {dup(STDIN_FILENO), node, new_token};
    Done done = std::move(done_);
    done_ = nullptr;
    done(outcome, grant);
  }
  void DesktopCloses() {
    ASSERT_TRUE(closed_);
    Closed closed = std::move(closed_);
    closed_ = nullptr;
    closed();
  }

  std::vector<std::string> tokens;  // the token each Open was given
  int closes = 0;

 private:
  Done done_;
  Closed closed_;
};

// A stream whose frame the test sets; `frame` empty means no frame has come yet.
class ScriptedFrames : public ScreenCastFrames {
 public:
  void Start(int fd, std::uint32_t node) override {
    close(fd);
    nodes.push_back(node);
    running = true;
    ended = false;
    frame.reset();
  }
  void Stop() override {
    ++stops;
    running = false;
    frame.reset();
  }
  bool CopyLatest(Bitmap& target, int width, int height, std::optional<Rgb> background) override {
    if (background) target.Fill(*background);
    if (!running || ended || !frame) return false;
    for (int y = 0; y < height && y < target.height; ++y)
      for (int x = 0; x < width && x < target.width; ++x) target.Row(y)[x] = *frame;
    return true;
  }
  bool Ended() override { return !running || ended; }

  std::vector<std::uint32_t> nodes;
  std::optional<Rgb> frame;
  bool running = false;
  bool ended = false;
  int stops = 0;
};

class WaylandScreenGrabTest : public ::testing::Test {
 protected:
  void SetUp() override { bitmap_.Resize(8, 4, 0); }

  // One capture's grab as CaptureScreen does it: the pixel at (1, 1), or nothing when it failed.
  std::optional<Rgb> Grab() {
    bitmap_.Fill(0x123456);  // what an earlier capture left
    auto session = grab_.OpenDesktop();
    if (!session) return std::nullopt;
    const bool copied = session->CopyToCleared(bitmap_, 8, 4, kBack);
    session->Release();
    if (!copied) {
      EXPECT_EQ(bitmap_.Row(1)[1], kBack) << "a failed copy leaves the background";
      return std::nullopt;
    }
    return bitmap_.Row(1)[1];
  }
  // Starts a session (unless one is asking already), the desktop grants it with `token`, and a
  // grab takes its first frame, `colour`.
  void Streaming(const std::string& token, Rgb colour, bool begin = true) {
    if (begin) grab_.BeginSession();
    portal_.Answer(ScreenCastOutcome::kStarted, token);
    frames_.frame = colour;
    ASSERT_EQ(Grab(), colour);
  }

  test_support::TempDir temp_{"trelvin-wlgrab"};
  const fs::path dir_ = temp_.path();
  ScreenCastToken token_{(dir_ / "screencast.token").string()};
  ScriptedPortal portal_;
  ScriptedFrames frames_;
  WaylandScreenGrab grab_{portal_, frames_, token_};
  Bitmap bitmap_;
};

TEST_F(WaylandScreenGrabTest, StartAsksWithTheSavedTokenAndKeepsTheNewOne) {
  ScreenCastToken(token_.Path()).Save("saved-1");
  EXPECT_EQ(grab_.OpenDesktop(), nullptr);  // before the start: nothing is asked
  EXPECT_TRUE(portal_.tokens.empty());

  grab_.BeginSession();
  ASSERT_EQ(portal_.tokens, std::vector<std::string>{"saved-1"});
  EXPECT_EQ(Grab(), std::nullopt);  // no answer yet
  portal_.Answer(ScreenCastOutcome::kStarted, "granted-2", 42);
  EXPECT_EQ(frames_.nodes, std::vector<std::uint32_t>{42});
  EXPECT_EQ(token_.Load(), "granted-2");
  EXPECT_EQ(Grab(), std::nullopt);  // streaming, but no frame has come yet
  frames_.frame = 0x00FF00;
  EXPECT_EQ(Grab(), 0x00FF00u);
  frames_.frame = 0x0000FF;
  EXPECT_EQ(Grab(), 0x0000FFu);  // each grab takes the newest frame

  grab_.EndSession();
  EXPECT_EQ(portal_.closes, 1);
  EXPECT_FALSE(frames_.running);
  EXPECT_EQ(Grab(), std::nullopt);

  // The next start passes the token the last start returned.
  grab_.BeginSession();
  EXPECT_EQ(portal_.tokens.back(), "granted-2");
}

TEST_F(WaylandScreenGrabTest, NoTokenOrADamagedOneAsksWithout) {
  grab_.BeginSession();
  EXPECT_EQ(portal_.tokens.back(), "");
  portal_.Answer(ScreenCastOutcome::kStarted, "");  // a desktop that gives no token
  EXPECT_FALSE(token_.Load().has_value());
  grab_.EndSession();
  std::ofstream(token_.Path()) << "two\nlines\n";
  grab_.BeginSession();
  EXPECT_EQ(portal_.tokens.back(), "");
}

TEST_F(WaylandScreenGrabTest, CancelledDialogIsNotAskedAgainUntilTheNextStart) {
  grab_.BeginSession();
  portal_.Answer(ScreenCastOutcome::kCancelled);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Grab(), std::nullopt);
  EXPECT_EQ(portal_.tokens.size(), 1u);
  EXPECT_EQ(grab_.CurrentState(), WaylandScreenGrab::State::kRefused);
  EXPECT_FALSE(token_.Load().has_value());

  grab_.EndSession();
  grab_.BeginSession();
  EXPECT_EQ(portal_.tokens.size(), 2u);
  portal_.Answer(ScreenCastOutcome::kFailed);
  EXPECT_EQ(Grab(), std::nullopt);
  EXPECT_EQ(portal_.tokens.size(), 2u);
}

TEST_F(WaylandScreenGrabTest, SessionClosedByTheDesktopIsAskedForOnceAndNeverShowsOldPixels) {
  ASSERT_NO_FATAL_FAILURE(Streaming("t1", 0xAA0000));

  portal_.DesktopCloses();  // e.g. the user revoked it
  EXPECT_FALSE(frames_.running);
  EXPECT_EQ(portal_.tokens.size(), 1u);  // not at once: at the next due capture
  EXPECT_EQ(Grab(), std::nullopt);       // that capture asks again and has no frame
  ASSERT_EQ(portal_.tokens.size(), 2u);
  EXPECT_EQ(portal_.tokens.back(), "t1");
  EXPECT_EQ(Grab(), std::nullopt);  // still asking: no second request
  EXPECT_EQ(portal_.tokens.size(), 2u);

  portal_.Answer(ScreenCastOutcome::kStarted, "t2", 9);
  EXPECT_EQ(Grab(), std::nullopt);  // the old stream's frame is gone with it
  frames_.frame = 0x00BB00;
  EXPECT_EQ(Grab(), 0x00BB00u);
  EXPECT_EQ(token_.Load(), "t2");
}

TEST_F(WaylandScreenGrabTest, StreamThatEndsByItselfCountsAsAClosedSession) {
  ASSERT_NO_FATAL_FAILURE(Streaming("t1", 0x010203));
  frames_.ended = true;             // the compositor stopped the stream; the portal said nothing
  EXPECT_EQ(Grab(), std::nullopt);  // not the last frame
  EXPECT_EQ(portal_.tokens.size(), 2u);
  EXPECT_GE(portal_.closes, 1);  // the old session is let go before the new request

  // The renewed request is refused: nothing more is asked until the next start.
  portal_.Answer(ScreenCastOutcome::kCancelled);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Grab(), std::nullopt);
  EXPECT_EQ(portal_.tokens.size(), 2u);
}

TEST_F(WaylandScreenGrabTest, StreamsThatNeverDeliverAreNotAskedForAtEveryTick) {
  ASSERT_NO_FATAL_FAILURE(Streaming("t1", 0x111111));
  frames_.ended = true;
  EXPECT_EQ(Grab(), std::nullopt);  // lost: asked again
  portal_.Answer(ScreenCastOutcome::kStarted, "t2");
  frames_.ended = true;  // e.g. the frames cannot be read here at all
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Grab(), std::nullopt);
  EXPECT_EQ(portal_.tokens.size(), 2u);
  EXPECT_EQ(grab_.CurrentState(), WaylandScreenGrab::State::kRefused);

  // A renewed stream that delivers earns the next loss its own request.
  ASSERT_NO_FATAL_FAILURE(Streaming("t3", 0x222222));
  frames_.ended = true;
  EXPECT_EQ(Grab(), std::nullopt);
  ASSERT_NO_FATAL_FAILURE(Streaming("t4", 0x333333, false));
  frames_.ended = true;
  EXPECT_EQ(Grab(), std::nullopt);
  EXPECT_EQ(portal_.tokens.size(), 5u);
}

TEST_F(WaylandScreenGrabTest, AnswerAfterTheStopIsDroppedAndAReleasedSessionCopiesNothing) {
  grab_.BeginSession();
  // The stop comes while the dialog is still up; the portal drops its callbacks on Close, so
  // only a stale answer from a misbehaving portal could arrive: it must not start a stream.
  grab_.EndSession();
  EXPECT_FALSE(portal_.Pending());
  EXPECT_TRUE(frames_.nodes.empty());
  EXPECT_EQ(Grab(), std::nullopt);
  EXPECT_EQ(grab_.CurrentState(), WaylandScreenGrab::State::kIdle);
  // A released session copies nothing.
  grab_.BeginSession();
  portal_.Answer(ScreenCastOutcome::kStarted, "t");
  frames_.frame = 0x445566;
  auto session = grab_.OpenDesktop();
  ASSERT_NE(session, nullptr);
  session->Release();
  bitmap_.Fill(0x123456);
  EXPECT_FALSE(session->CopyToCleared(bitmap_, 8, 4, kBack));
  EXPECT_EQ(bitmap_.Row(0)[0], kBack);
}

}  // namespace
}  // namespace trelvin
