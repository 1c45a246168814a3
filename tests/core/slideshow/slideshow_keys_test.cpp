// The slide show's keyboard commands and their questions, on the fakes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/SlideShowFixture.h"
#include "core/base/VirtualKeys.h"
#include "core/services/MessageBox.h"

namespace trelvin::test_support {
namespace {

using SlideShowKeysTest = FourPicturesFixture;

// Right after a timed change S shows the next entry in the other mode; the page keys step from
// the stored index and pause; after a page key S shows the same picture in the other mode.
TEST_F(SlideShowKeysTest, SAndThePageKeysStepFromTheStoredIndex) {
  Open([&](FormSlideShow& s) {
    Ticks(s, 1);               // entry 1 shown, index 2
    Key(s, kVkS, kShiftMask);  // Shift+S acts like S
    EXPECT_EQ(Shown(s), "2.jpg");
    EXPECT_TRUE(s.StretchFlag);
    EXPECT_EQ(s.PictureIndex, 2);
    EXPECT_TRUE(s.Timer1.Enabled());
    Key(s, kVkNext);
    EXPECT_EQ(Shown(s), "3.jpg");  // k + 2
    EXPECT_FALSE(s.Timer1.Enabled());
    Key(s, kVkPrior);
    EXPECT_EQ(Shown(s), "2.jpg");
    Key(s, kVkPrior);
    EXPECT_EQ(Shown(s), "1.jpg");
    Key(s, kVkS);
    EXPECT_EQ(Shown(s), "1.jpg");
    EXPECT_FALSE(s.Image1.Stretch());
  });
}

TEST_F(SlideShowKeysTest, AfterTheLastEntryPageDownGivesTheFirstAndPageUpTheLast) {
  Open([&](FormSlideShow& s) {
    Ticks(s, 3);
    ASSERT_EQ(s.PictureIndex, 4);
    // S past the end keeps the picture on screen and its name, re-placed.
    Key(s, kVkS);
    EXPECT_EQ(Shown(s), "3.jpg");
    EXPECT_EQ(s.CurrentName, "3.jpg");
    EXPECT_EQ(s.Image1.Geometry(), (Rect{0, 0, 1024, 768}));
    Key(s, kVkNext);
    EXPECT_EQ(Shown(s), "0.jpg");
  });
  Open([&](FormSlideShow& s) {
    Ticks(s, 3);  // this show began at the entry the first one left behind
    ASSERT_EQ(s.PictureIndex, 4);
    Key(s, kVkPrior);
    EXPECT_EQ(Shown(s), "3.jpg");
  });
}

TEST_F(SlideShowKeysTest, F5RestartsAtTheNextChangeSpaceTogglesAndPageUpShowsTheSameAgain) {
  Open([&](FormSlideShow& s) {
    Ticks(s, 2);
    Key(s, kVkF5);
    EXPECT_EQ(Shown(s), "2.jpg");  // nothing changes on screen
    Ticks(s, 1);
    EXPECT_EQ(Shown(s), "0.jpg");
    Key(s, kVkSpace);
    EXPECT_FALSE(s.Timer1.Enabled());
    Key(s, kVkSpace);
    EXPECT_TRUE(s.Timer1.Enabled());
    EXPECT_TRUE(s.Loaded());
    Ticks(s, 1);
    Key(s, kVkPrior);  // right after a timed change: the same picture again
    EXPECT_EQ(Shown(s), "1.jpg");
  });
}

// Keys outside the table (modifiers on their own too), a mouse press and a click on the picture
// end the show.
TEST_F(SlideShowKeysTest, KeysOutsideTheTableMousePressesAndClicksEndTheShow) {
  std::vector<std::function<void(FormSlideShow&)>> actions{
      [&](FormSlideShow& s) { platform_.runtime.Events(s).MouseDown(2, 0, 10.0f, 10.0f); },
      [&](FormSlideShow& s) { platform_.runtime.Events(s).Control(s.Image1.on_click); }};
  for (std::int16_t key : {kVkShift, kVkControl, kVkMenu, kVkEscape, kVkReturn, kVkNone, kVkA,
                           kVkOemPlus, kVkOemMinus, kVkF4}) {
    actions.push_back([&, key](FormSlideShow& s) { Key(s, key); });
  }
  for (std::size_t i = 0; i < actions.size(); ++i) {
    bool loaded_after = true;
    Open([&](FormSlideShow& s) {
      actions[i](s);
      loaded_after = s.Loaded();
    });
    EXPECT_FALSE(loaded_after) << "action " << i;
  }
  EXPECT_EQ(platform_.cursor.counter, 0);
}

TEST_F(SlideShowKeysTest, ConfirmPromptPausesShowsPointerAndAlwaysResumes) {
  for (int answer : {kIdYes, kIdNo}) {
    bool answered = answer != kIdYes;
    bool enabled_while_open = true;
    Open([&](FormSlideShow& s) {
      Key(s, kVkSpace);  // paused before the question
      platform_.message_box.answers = {answer};
      platform_.message_box.while_open = [&] { enabled_while_open = s.Timer1.Enabled(); };
      answered = s.ConfirmPrompt("Sure?");
      EXPECT_TRUE(s.Timer1.Enabled());
      EXPECT_EQ(platform_.cursor.counter, -1);
    });
    EXPECT_EQ(answered, answer == kIdYes);
    EXPECT_FALSE(enabled_while_open);
    const auto& box = platform_.message_box.shown.back();
    EXPECT_EQ(box.text, "Sure?");
    EXPECT_EQ(box.style, 292);
    EXPECT_EQ(box.caption, "TrelvinShow");
    EXPECT_EQ(box.cursor_counter, 0);  // the pointer is visible while the box is open
  }
}

TEST_F(SlideShowKeysTest, PrintCentresTheControlOnThePageAtThePicturesOwnSize) {
  platform_.printer.page = Size{12240, 15840};
  Open([&](FormSlideShow& s) {
    platform_.message_box.answers = {kIdNo, kIdYes};
    Key(s, kVkP);
    EXPECT_TRUE(platform_.printer.paints.empty());
    EXPECT_EQ(platform_.printer.end_docs, 0);
    Key(s, kVkP);
    Key(s, kVkS);  // stretched: the control is as large as the window
    platform_.message_box.answers = {kIdYes};
    Key(s, kVkP);
  });
  ASSERT_EQ(platform_.printer.paints.size(), 2u);
  EXPECT_EQ(platform_.printer.paints[0].x, (12240 - 320 * 15) / 2);
  EXPECT_EQ(platform_.printer.paints[0].y, (15840 - 200 * 15) / 2);
  EXPECT_EQ(platform_.printer.paints[1].x, (12240 - 1024 * 15) / 2);  // negative
  EXPECT_LT(platform_.printer.paints[1].x, 0);
  EXPECT_EQ(platform_.printer.end_docs, 2);
  EXPECT_EQ(platform_.message_box.shown[0].text, "Do you want to print this image?");
  // Without a printer nothing is painted, and the document is still ended.
  platform_.printer.page.reset();
  platform_.message_box.answers = {kIdYes};
  Open([&](FormSlideShow& s) { Key(s, kVkP); });
  EXPECT_EQ(platform_.printer.paints.size(), 2u);
  EXPECT_EQ(platform_.printer.end_docs, 3);
}

// Copies follow the captures' rule, and songs are looked for in the user's Music when the
// program's directory has none.
TEST_F(SlideShowKeysTest, UnwritableProgramDirectoryCopiesIntoPicturesAndPlaysUserMusic) {
  platform_.files.unwritable_dirs.insert(NativePath("/opt/trelvin/"));
  platform_.files.Add(NativePath("/home/u/Music/Trelvin/song.mp3"));
  ASSERT_TRUE(main_.chkMusic.SetValue(CheckBox::kChecked));
  platform_.message_box.answers = {kIdYes};
  Open([&](FormSlideShow& s) { Key(s, kVkC); });
  EXPECT_EQ(platform_.files.created_dirs,
            std::vector<std::string>{NativePath("/home/u/Pictures/Trelvin/")});
  EXPECT_TRUE(platform_.files.Has(NativePath("/home/u/Pictures/Trelvin/0.jpg")));
  EXPECT_EQ(
      platform_.media.commands.at(1),
      "open \"" + NativePath("/home/u/Music/Trelvin/song.mp3") + "\" type MPEGVideo alias MUSIC");
}

TEST_F(SlideShowKeysTest, WallpaperNoticeTellsWhetherItWorked) {
  // Answered No: nothing saved, nothing set, no notice.
  Open([&](FormSlideShow& s) { Key(s, kVkW); });
  EXPECT_TRUE(platform_.pictures.saves.empty());
  EXPECT_TRUE(platform_.wallpaper.paths.empty());
  EXPECT_EQ(platform_.message_box.shown.size(), 1u);
  struct Case {
    bool save_fails, set_fails;
    std::string notice;
    int style;
    std::size_t set_calls;
  };
  for (const Case& c : {Case{false, false, "Your wallpaper was changed!", 64, 1},
                        Case{true, false, "The wallpaper could not be changed.", 48, 0},
                        Case{false, true, "The wallpaper could not be changed.", 48, 1}}) {
    fakes::FakePlatform& p = platform_;
    p.pictures.save_fails = c.save_fails;
    p.wallpaper.result = !c.set_fails;
    p.wallpaper.paths.clear();
    p.message_box.shown.clear();
    p.message_box.answers = {kIdYes};
    Open([&](FormSlideShow& s) { Key(s, kVkW); });
    ASSERT_EQ(p.message_box.shown.size(), 2u);
    EXPECT_EQ(p.message_box.shown[0].text,
              "Do you want to set this image as your desktop wallpaper?");
    EXPECT_EQ(p.message_box.shown[1].text, c.notice);
    EXPECT_EQ(p.message_box.shown[1].style, c.style);
    EXPECT_EQ(p.message_box.shown[1].caption, "TrelvinShow");
    // The notice comes with the pointer hidden again.
    EXPECT_EQ(p.message_box.shown[1].cursor_counter, -1);
    EXPECT_EQ(p.wallpaper.paths.size(), c.set_calls);
  }
  ASSERT_FALSE(platform_.pictures.saves.empty());
  EXPECT_EQ(platform_.pictures.saves.back().second, platform_.known_paths.wallpaper_bitmap);
}

TEST_F(SlideShowKeysTest, PlusAndMinusStepAndStartTheSongOnlyWithTheProgramsOwnMusic) {
  for (const char* name : {"a.mid", "b.mid", "c.mid"})
    platform_.files.Add(NativePath("/opt/trelvin/") + name);
  main_.chkMusic.SetValue(1);
  Open([&](FormSlideShow& s) {
    ASSERT_EQ(s.lstMusic.ListCount(), 3);
    const std::vector<std::string>& sent = platform_.media.commands;
    s.MusicIndex = 1;  // as after an automatic start of entry 0
    struct Step {
      std::int16_t key, index;
      const char* song;
    };
    for (const Step& step : {Step{kVkAdd, 2, "c.mid"}, Step{kVkAdd, 0, "a.mid"},
                             Step{kVkSubtract, 2, "c.mid"}, Step{kVkSubtract, 1, "b.mid"},
                             Step{kVkSubtract, 0, "a.mid"}, Step{kVkSubtract, 2, "c.mid"}}) {
      const std::size_t before = sent.size();
      Key(s, step.key);
      EXPECT_EQ(s.MusicIndex, step.index);
      EXPECT_EQ(platform_.media.OpenedSongs(before), std::vector<std::string>{step.song});
    }
    Key(s, kVkM);
    EXPECT_FALSE(s.MusicFlag);
    Key(s, kVkAdd);  // music off: nothing
    EXPECT_EQ(s.MusicIndex, 2);
    s.MP3Flag = true;
    Key(s, kVkM);
    EXPECT_TRUE(s.MusicFlag);
    Key(s, kVkSubtract);  // the outside player's music: nothing
    EXPECT_EQ(s.MusicIndex, 2);
    EXPECT_TRUE(s.Loaded());
  });
}

TEST_F(SlideShowKeysTest, MWithAnEmptyMusicListPlaysNothing) {
  main_.chkMusic.SetValue(1);
  Open([&](FormSlideShow& s) {
    ASSERT_EQ(s.lstMusic.ListCount(), 0);
    const std::size_t before = platform_.media.commands.size();
    Key(s, 'M');
    EXPECT_FALSE(s.MusicFlag);
    Key(s, 'M');
    EXPECT_TRUE(s.MusicFlag);
    for (std::size_t i = before; i < platform_.media.commands.size(); ++i) {
      EXPECT_NE(platform_.media.commands[i].rfind("open", 0), 0u) << platform_.media.commands[i];
      EXPECT_NE(platform_.media.commands[i].rfind("play", 0), 0u) << platform_.media.commands[i];
    }
    EXPECT_TRUE(s.Loaded());
  });
}

TEST_F(SlideShowKeysTest, WithMp3OnTheOnlyMediaCommandIsCloseAll) {
  platform_.files.Add(platform_.known_paths.playlists[0], {'#'});
  platform_.files.Add("/opt/trelvin/a.mid");
  platform_.files.Add("/opt/trelvin/b.mp3");
  main_.chkMusic.SetValue(1);
  main_.chkMP3.SetValue(1);
  Open([&](FormSlideShow& s) {
    ASSERT_TRUE(s.MP3Flag);
    for (int key : {107, 109, int{'M'}, int{'M'}, 107}) Key(s, static_cast<std::int16_t>(key));
    Ticks(s, 25);
  });
  EXPECT_EQ(platform_.media.commands, std::vector<std::string>{"close all"});
}

TEST_F(SlideShowKeysTest, LoadStartsWinampExactlyWhenMusicAndMp3AreBothChecked) {
  platform_.files.Add(platform_.known_paths.playlists[0], {'#'});
  for (std::int16_t music : {0, 1, 2}) {
    for (std::int16_t mp3 : {0, 1, 2}) {
      main_.chkMusic.SetValue(music);
      main_.chkMP3.SetValue(mp3);
      platform_.shell.calls.clear();
      Open();
      const std::size_t expected = music == 1 && mp3 == 1 ? 1u : 0u;
      EXPECT_EQ(platform_.shell.calls.size(), expected) << "music " << music << ", mp3 " << mp3;
      if (!platform_.shell.calls.empty()) {
        EXPECT_EQ(platform_.shell.calls[0].target, platform_.known_paths.playlists[0]);
      }
    }
  }
}

}  // namespace
}  // namespace trelvin::test_support
