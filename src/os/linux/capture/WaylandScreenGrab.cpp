#include "os/linux/capture/WaylandScreenGrab.h"

#include <unistd.h>

#include <optional>
#include <string>
#include <utility>

namespace trelvin {

namespace {

constexpr char kPortalMissing[] =
    "The desktop's screen-cast portal did not answer. Install xdg-desktop-portal and your "
    "desktop's portal (xdg-desktop-portal-gnome, xdg-desktop-portal-kde or "
    "xdg-desktop-portal-wlr), log in again, then press Start.";
constexpr char kSharingRefused[] =
    "Sharing the screen was refused. Press Stop, then Start, and allow the desktop to share the "
    "screen (keep \"Remember this selection\" ticked).";
constexpr char kSharingEnded[] =
    "The desktop stopped sharing the screen. Press Stop, then Start, to share it again.";
constexpr char kNoAnswer[] =
    "The desktop has not answered the request to share the screen. Answer its dialog, or press "
    "Stop, then Start.";
// How long an unanswered request counts as the user still deciding.
constexpr std::chrono::seconds kAnswerTime{60};

}  // namespace

class WaylandScreenGrab::Session : public GrabSession {
 public:
  Session(ScreenCastFrames& frames, bool& asked_again)
      : frames_(frames), asked_again_(asked_again) {}
  bool CopyTo(Bitmap& target, int width, int height) override {
    return !released_ && Copied(frames_.CopyLatest(target, width, height, std::nullopt));
  }
  bool CopyToCleared(Bitmap& target, int width, int height, Rgb background) override {
    if (released_) {
      target.Fill(background);
      return false;
    }
    return Copied(frames_.CopyLatest(target, width, height, background));
  }
  void Release() override { released_ = true; }

 private:
  // A stream that delivered a frame has worked: if it ends later, that is a new loss, which
  // earns its own renewed request.
  bool Copied(bool copied) {
    if (copied) asked_again_ = false;
    return copied;
  }

  ScreenCastFrames& frames_;
  bool& asked_again_;
  bool released_ = false;
};

WaylandScreenGrab::WaylandScreenGrab(ScreenCastPortal& portal, ScreenCastFrames& frames,
                                     const ScreenCastToken& token)
    : portal_(portal), frames_(frames), token_(token) {}

WaylandScreenGrab::~WaylandScreenGrab() { EndSession(); }

void WaylandScreenGrab::BeginSession() {
  EndSession();
  asked_again_ = false;
  Ask();
}

void WaylandScreenGrab::EndSession() {
  if (state_ == State::kIdle) return;
  portal_.Close();
  frames_.Stop();
  state_ = State::kIdle;
}

void WaylandScreenGrab::Ask() {
  state_ = State::kOpening;
  asked_at_ = std::chrono::steady_clock::now();
  const std::string saved = token_.Load().value_or("");
  portal_.Open(
      saved,
      [this](ScreenCastOutcome outcome, ScreenCastGrant grant) {
        if (state_ != State::kOpening) {
          if (grant.fd >= 0) close(grant.fd);
          return;
        }
        if (outcome != ScreenCastOutcome::kStarted || grant.fd < 0) {
          if (grant.fd >= 0) close(grant.fd);
          refusal_ = outcome == ScreenCastOutcome::kCancelled ? kSharingRefused : kPortalMissing;
          state_ = State::kRefused;
          return;
        }
        // Every start's token is kept: the desktop may hand out a new one each time.
        if (!grant.restore_token.empty()) token_.Save(grant.restore_token);
        frames_.Start(grant.fd, grant.node);
        state_ = State::kStreaming;
      },
      [this] {
        if (state_ == State::kStreaming) Lose();
      });
}

void WaylandScreenGrab::Lose() {
  portal_.Close();
  frames_.Stop();
  state_ = State::kLost;
}

std::unique_ptr<GrabSession> WaylandScreenGrab::OpenDesktop() {
  if (state_ == State::kStreaming && frames_.Ended()) Lose();
  if (state_ == State::kLost) {
    if (asked_again_) {
      refusal_ = kSharingEnded;
      state_ = State::kRefused;
    } else {
      asked_again_ = true;
      Ask();
    }
  }
  // This grab fails while the renewed session comes up; the next one has its frames.
  if (state_ != State::kStreaming) return nullptr;
  return std::make_unique<Session>(frames_, asked_again_);
}

std::string WaylandScreenGrab::Problem() {
  switch (state_) {
    case State::kRefused:
      return refusal_;
    case State::kOpening:
      return std::chrono::steady_clock::now() - asked_at_ > kAnswerTime ? kNoAnswer : "";
    default:
      return "";
  }
}

}  // namespace trelvin
