// The slide show's look-ahead: the picture prepared is the one the next change shows, and the
// random draws keep their values.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/SlideShowFixture.h"
#include "core/base/VirtualKeys.h"

namespace trelvin::test_support {
namespace {

using SlideShowLookAheadTest = SlideShowFixture;

TEST_F(SlideShowLookAheadTest, PreparesTheNextFixedSlideAndDropsItAtTheEnd) {
  for (const char* name : {"0.jpg", "1.jpg", "2.jpg"}) AddPicture(name);
  main_.hscrShow.SetValue(2);
  main_.chkStretch.SetValue(1);
  using Prepared = std::vector<std::pair<std::string, Size>>;
  const Size screen{1024, 768};
  auto path = [](const char* name) { return NativePath("/pics/") + name; };
  Open([&](FormSlideShow& s) {
    // After each timed change, the next in order; after the last, the first again.
    Ticks(s, 4);
    EXPECT_EQ(
        platform_.pictures.prepared,
        (Prepared{{path("1.jpg"), screen}, {path("2.jpg"), screen}, {path("0.jpg"), screen}}));
    // Paused by Page Up: the picture Page Down would show; S there, at natural size.
    platform_.pictures.prepared.clear();
    Key(s, kVkPrior);
    Key(s, kVkS);
    EXPECT_EQ(platform_.pictures.prepared,
              (Prepared{{path("0.jpg"), screen}, {path("0.jpg"), Size{}}}));
  });
  EXPECT_EQ(platform_.pictures.drops, 1);

  // In random order the next change's draw is looked at ahead; paused, Page Down's picture.
  main_.chkRandom.SetValue(1);
  platform_.pictures.prepared.clear();
  platform_.random.fallback = 0.5f;  // always the middle one
  Open([&](FormSlideShow& s) {
    Ticks(s, 4);
    EXPECT_EQ(platform_.pictures.prepared, Prepared(3, {path("1.jpg"), screen}));
    platform_.pictures.prepared.clear();
    Key(s, kVkNext);
    EXPECT_EQ(platform_.pictures.prepared, (Prepared{{path("1.jpg"), screen}}));
  });
}

// Drawing the next picture ahead gives every draw, the songs' and the pictures', the value it gets
// without the look-ahead: a song drawn first takes the value looked at, and the picture draws anew.
TEST_F(SlideShowLookAheadTest, ARandomPictureDrawnAheadLeavesEveryDrawItsValue) {
  for (const char* name : {"0.jpg", "1.jpg", "2.jpg", "3.jpg"}) AddPicture(name);
  for (const char* name : {"a.mid", "b.mid", "c.mid"}) {
    platform_.files.Add(NativePath("/opt/trelvin/") + name);
  }
  main_.chkMusic.SetValue(1);
  main_.chkRandom.SetValue(1);
  main_.hscrShow.SetValue(1);
  bool song_over = false;
  platform_.media.responder = [&](const std::string& command) -> std::uint32_t {
    return command == "play MUSIC2 from 0 notify" && !song_over;
  };
  platform_.random.values = {0.0f, 0.3f, 0.6f, 0.9f, 0.2f};
  platform_.random.fallback = 0.5f;
  std::vector<std::string> shown;
  Open([&](FormSlideShow& s) {
    shown.push_back(Shown(s));
    Ticks(s, 1);
    shown.push_back(Shown(s));
    song_over = true;
    Ticks(s, 1);
    shown.push_back(Shown(s));
    EXPECT_EQ(s.MusicIndex, 3);  // the song drew 0.9: the third song, then one on
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"1.jpg", "2.jpg", "0.jpg"}));
  std::vector<std::string> prepared;
  for (const auto& [file, size] : platform_.pictures.prepared) prepared.push_back(file);
  EXPECT_EQ(prepared,
            (std::vector<std::string>{NativePath("/pics/2.jpg"), NativePath("/pics/3.jpg"),
                                      NativePath("/pics/2.jpg")}));
}

}  // namespace
}  // namespace trelvin::test_support
