// The slide show's load step, catalogue, timed advance and display, on the fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SlideShowFixture.h"
#include "core/base/VirtualKeys.h"
#include "core/slideshow/Catalogue.h"

namespace trelvin::test_support {
namespace {

using SlideShowLoadTest = SlideShowFixture;

TEST_F(SlideShowLoadTest, LoadCoversScreenCopiesOptionsAndShowsFirstSlideAtOnce) {
  platform_.runtime.screen = {1280, 1024};
  main_.AppPath = NativePath("/pics");
  platform_.files.exe_dir = NativePath("/");
  main_.hscrShow.SetValue(25);
  main_.chkStretch.SetValue(2);  // grayed counts as off here
  main_.chkRandom.SetValue(1);
  platform_.random.values = {0.0f};
  AddPicture("a.jpg");
  bool ran = false;
  Open([&](FormSlideShow& s) {
    ran = true;
    EXPECT_EQ(s.Interval, 25);
    EXPECT_EQ(s.Geometry(), (Rect{0, 0, 1280, 1024}));
    EXPECT_TRUE(s.Visible());
    EXPECT_TRUE(s.Timer1.Enabled());
    EXPECT_EQ(s.PicturePath, NativePath("/pics/"));
    EXPECT_EQ(s.ProgramPath, NativePath("/"));
    EXPECT_FALSE(s.StretchFlag);
    EXPECT_TRUE(s.RandomFlag);
    EXPECT_FALSE(s.MusicFlag);
    EXPECT_FALSE(s.MP3Flag);
    EXPECT_EQ(platform_.cursor.counter, -1);
    EXPECT_EQ(s.SlideTicks, 0);
    EXPECT_EQ(s.CurrentPath, NativePath("/pics/a.jpg"));
    EXPECT_EQ(s.PictureIndex, 1);
  });
  ASSERT_TRUE(ran);
  EXPECT_EQ(platform_.random.seeds, std::vector<double>{47109.25});
  // Closing shows the pointer again: one hide, one show.
  EXPECT_EQ(platform_.cursor.log, (std::vector<bool>{false, true}));
  EXPECT_EQ(platform_.runtime.modal_owners, std::vector<const Form*>{&main_});
}

TEST_F(SlideShowLoadTest, StepsRunInOrder) {
  main_.chkMusic.SetValue(1);
  platform_.files.Add(NativePath("/opt/trelvin/song.mid"));
  AddPicture("a.jpg");
  std::vector<std::string> seen;
  platform_.pictures.on_load = [&](const std::string&) {
    seen.push_back("searches " + std::to_string(platform_.files.searches.size()) + " cursor " +
                   std::to_string(platform_.cursor.counter) + " visible " +
                   std::to_string(show().Visible()));
  };
  Open();
  // 15 music patterns first, then the 6 picture patterns; the pointer hidden and the window up
  // before the first picture loads.
  ASSERT_EQ(platform_.files.searches.size(), 21u);
  EXPECT_EQ(platform_.files.searches.front(), NativePath("/opt/trelvin/ *.mid"));
  EXPECT_EQ(platform_.files.searches[14], NativePath("/opt/trelvin/ *.dat"));
  EXPECT_EQ(platform_.files.searches[15], NativePath("/pics/ *.jpg"));
  EXPECT_EQ(platform_.files.searches[16], NativePath("/pics/ *.gif"));
  EXPECT_EQ(platform_.files.searches[20], NativePath("/pics/ *.webp"));
  EXPECT_EQ(seen, std::vector<std::string>{"searches 21 cursor -1 visible 1"});
}

TEST_F(SlideShowLoadTest, MusicListOnlyWithMusicOnAndMp3Off) {
  platform_.files.Add(NativePath("/opt/trelvin/b.mid"));
  platform_.files.Add(NativePath("/opt/trelvin/A.mp3"));
  platform_.files.Add(NativePath("/opt/trelvin/c.wav"));
  struct Case {
    int music, mp3;
    std::vector<std::string> expected;
  };
  for (const Case& c :
       {Case{1, 0, {"A.mp3", "b.mid"}}, Case{1, 1, {}}, Case{0, 1, {}}, Case{2, 0, {}}}) {
    main_.chkMusic.SetValue(c.music);
    main_.chkMP3.SetValue(c.mp3);
    platform_.files.searches.clear();
    std::vector<std::string> listed;
    Open([&](FormSlideShow& s) {
      for (std::int16_t i = 0; i < s.lstMusic.ListCount(); ++i)
        listed.push_back(s.lstMusic.List(i));
    });
    EXPECT_EQ(listed, c.expected) << c.music << c.mp3;
    // Without the program's own music no music pattern is searched.
    EXPECT_EQ(platform_.files.searches.size(), c.expected.empty() ? 6u : 21u);
  }
}

TEST_F(SlideShowLoadTest, CatalogueListsAllJpgThenGifThenTheOtherFormatsIgnoringCase) {
  AddPicture("2.gif");
  AddPicture("w.webp");
  AddPicture("b.jpg");
  AddPicture("a.JPG");
  AddPicture("c.jpeg");
  AddPicture("x.Gif");
  AddPicture("p.PNG");
  AddPicture("m.bmp");
  AddPicture("t.tif");
  AddPicture("hidden.jpg");
  platform_.files.hidden_or_dirs.insert(NativePath("/pics/hidden.jpg"));
  platform_.files.Add(NativePath("/pics/sub/d.jpg"));
  platform_.files.Add(NativePath("/elsewhere/e.jpg"));
  std::vector<std::string> listed;
  Open([&](FormSlideShow& s) {
    for (std::int16_t i = 0; i < s.lstImages.ListCount(); ++i)
      listed.push_back(s.lstImages.List(i));
  });
  EXPECT_EQ(listed, (std::vector<std::string>{"b.jpg", "a.JPG", "2.gif", "x.Gif", "c.jpeg", "p.PNG",
                                              "m.bmp", "w.webp"}));
}

TEST(CatalogueTest, StopsAtTheListLimitAndGoesOn) {
  fakes::FakeFileSystem files;
  for (int i = 0; i < NameList::kMaxEntries + 5; ++i)
    files.Add(NativePath("/p/") + std::to_string(i) + ".jpg");
  files.Add(NativePath("/p/last.gif"));
  NameList list(NameList::Order::kInsertion);
  FillCatalogue(list, files, NativePath("/p/"), kPictureExtensions);
  EXPECT_EQ(list.ListCount(), NameList::kMaxEntries);
  EXPECT_EQ(list.List(NameList::kMaxEntries - 1), "32766.jpg");
  EXPECT_EQ(files.searches.size(), 6u);
}

// A stand-in search that, like short-name matching, also yields longer extensions: `from` is
// searched as `to`.
struct ShortNames : fakes::FakeFileSystem {
  ShortNames(std::string from, std::string to) : from(std::move(from)), to(std::move(to)) {}
  std::vector<std::string> FindFiles(const std::string& d, const std::string& p,
                                     std::size_t limit) override {
    return fakes::FakeFileSystem::FindFiles(d, p == from ? to : p, limit);
  }
  std::string from, to;
};

TEST(CatalogueTest, MusicMatchedByTwoPatternsIsListedTwicePicturesOnceUnderTheirOwnExtension) {
  NameList list(NameList::Order::kSortedNoCase);
  ShortNames aliasing("*.aif", "*.aif*");  // "y.aiff" for "*.aif"
  aliasing.Add(NativePath("/m/y.aiff"));
  FillCatalogue(list, aliasing, NativePath("/m/"), kMusicExtensions);
  ASSERT_EQ(list.ListCount(), 2);
  EXPECT_EQ(list.List(0), "y.aiff");
  EXPECT_EQ(list.List(1), "y.aiff");

  // A picture is listed once, under its own extension, though "*.jpg" also finds "p.jpeg" by its
  // short name; a name that no extension matches by itself stays as the search yields it.
  ShortNames files("*.jpg", "*.jp*");
  files.Add(NativePath("/p/p.jpeg"));
  files.Add(NativePath("/p/q.jpgx"));
  NameList pictures(NameList::Order::kInsertion);
  FillCatalogue(pictures, files, NativePath("/p/"), kPictureExtensions,
                OtherNames::kLeftToTheirOwnPattern);
  ASSERT_EQ(pictures.ListCount(), 2);
  EXPECT_EQ(pictures.List(0), "q.jpgx");
  EXPECT_EQ(pictures.List(1), "p.jpeg");
}

using SlideShowDisplayTest = SlideShowFixture;

TEST_F(SlideShowDisplayTest, SlideChangesEveryIntervalTicks) {
  AddPicture("a.jpg");
  for (int interval : {1, 2, 10, 50, 600}) {
    main_.hscrShow.SetValue(interval);
    platform_.pictures.loads.clear();
    Open([&](FormSlideShow& s) {
      ASSERT_EQ(platform_.pictures.loads.size(), 1u);  // the first slide at once
      Ticks(s, interval - 1);
      EXPECT_EQ(platform_.pictures.loads.size(), 1u) << interval;
      Ticks(s, 1);
      EXPECT_EQ(platform_.pictures.loads.size(), 2u) << interval;
      Ticks(s, 3 * interval);
      EXPECT_EQ(platform_.pictures.loads.size(), 5u) << interval;
    });
  }
}

// Also in random order with one picture, which is always that one.
TEST_F(SlideShowDisplayTest, PausedTimerKeepsTheCountWhereItWas) {
  AddPicture("a.jpg");
  main_.hscrShow.SetValue(5);
  main_.chkRandom.SetValue(1);
  platform_.random.fallback = 0.9999f;
  Open([&](FormSlideShow& s) {
    Ticks(s, 3);
    Key(s, kVkSpace);  // pause
    Ticks(s, 20);
    EXPECT_EQ(s.SlideTicks, 3);
    Key(s, kVkSpace);
    Ticks(s, 1);
    EXPECT_EQ(platform_.pictures.loads.size(), 1u);
    Ticks(s, 1);
    EXPECT_EQ(s.PictureIndex, 1);
  });
  EXPECT_EQ(platform_.pictures.loads, std::vector<std::string>(2, NativePath("/pics/a.jpg")));
}

// In order the show wraps around and reloads each picture; in random order it takes the integer
// part of R times the count.
TEST_F(SlideShowDisplayTest, SequentialOrderWrapsAroundAndRandomTakesTheIntegerPartOfRTimesCount) {
  for (int i = 0; i < 4; ++i) AddPicture(std::to_string(i) + ".jpg");
  main_.hscrShow.SetValue(1);
  platform_.random.values = {0.99f, 0.5f, 0.5f, 0.0f, 0.2499f};
  for (const bool random : {false, true}) {
    main_.chkRandom.SetValue(random);
    platform_.pictures.loads.clear();
    std::vector<std::string> shown;
    std::vector<int> indices;
    Open([&](FormSlideShow& s) {
      for (int i = 0; i < 6; ++i) {
        if (i > 0) Ticks(s, 1);
        shown.push_back(Shown(s));
        indices.push_back(s.PictureIndex);
      }
    });
    EXPECT_EQ(platform_.pictures.loads.size(), 6u);
    if (random) {
      EXPECT_EQ(shown,
                (std::vector<std::string>{"3.jpg", "2.jpg", "2.jpg", "0.jpg", "0.jpg", "0.jpg"}));
    } else {
      EXPECT_EQ(shown,
                (std::vector<std::string>{"0.jpg", "1.jpg", "2.jpg", "3.jpg", "0.jpg", "1.jpg"}));
      EXPECT_EQ(indices, (std::vector<int>{1, 2, 3, 4, 1, 2}));
    }
  }
}

TEST_F(SlideShowDisplayTest, CentresAtNaturalSizeOrStretchesOverTheWindow) {
  AddPicture("small.jpg", {320, 200});
  AddPicture("large.jpg", {1100, 901});
  main_.hscrShow.SetValue(1);
  Open([&](FormSlideShow& s) {
    EXPECT_EQ(s.Image1.Geometry(), (Rect{352, 284, 320, 200}));
    EXPECT_FALSE(s.Image1.Stretch());
    Ticks(s, 1);
    // Larger than the screen: cut off evenly, the halving truncating toward zero.
    EXPECT_EQ(s.Image1.Geometry(), (Rect{-38, -66, 1100, 901}));
    Key(s, kVkS);  // past the end of the list: the picture on screen, re-placed
    EXPECT_TRUE(s.Image1.Stretch());
    EXPECT_EQ(s.Image1.Geometry(), (Rect{0, 0, 1024, 768}));
    Key(s, kVkPrior);
    EXPECT_EQ(Shown(s), "large.jpg");
  });
  // Stretched pictures are asked for at the window's size, natural ones at their own.
  EXPECT_EQ(platform_.pictures.display_sizes, (std::vector<Size>{Size{}, Size{}, Size{1024, 768}}));
}

TEST_F(SlideShowDisplayTest, PictureThatFailsToLoadLeavesThePreviousOneReplaced) {
  AddPicture("good.jpg", {320, 200});
  platform_.files.Add(NativePath("/pics/broken.jpg"));  // listed, not loadable
  main_.hscrShow.SetValue(2);
  main_.chkStretch.SetValue(1);
  Open([&](FormSlideShow& s) {
    EXPECT_EQ(s.Image1.Geometry(), (Rect{0, 0, 1024, 768}));
    s.StretchFlag = false;
    Ticks(s, 2);
    EXPECT_EQ(s.CurrentPath, NativePath("/pics/broken.jpg"));
    EXPECT_EQ(Shown(s), "good.jpg");
    EXPECT_EQ(s.Image1.Geometry(), (Rect{352, 284, 320, 200}));
    EXPECT_EQ(s.PictureIndex, 2);
    // The next change comes at the usual time.
    Ticks(s, 1);
    EXPECT_EQ(platform_.pictures.loads.size(), 2u);
    Ticks(s, 1);
    EXPECT_EQ(platform_.pictures.loads.size(), 3u);
  });
}

TEST_F(SlideShowDisplayTest, NextShowGoesOnFromTheRememberedPositionAndPastTheEndAtTheFirst) {
  for (int i = 0; i < 10; ++i) AddPicture(std::to_string(i) + ".jpg");
  main_.hscrShow.SetValue(1);
  Open([&](FormSlideShow& s) { Ticks(s, 4); });  // the fifth slide is on screen
  Open([&](FormSlideShow& s) {
    EXPECT_EQ(Shown(s), "5.jpg");
    Ticks(s, 4);  // the last one: index 10, past the end
  });
  EXPECT_EQ(show().Image1.CurrentPicture(), nullptr);
  EXPECT_EQ(show().lstImages.ListCount(), 0);
  std::string first_of_third;
  Open([&](FormSlideShow& s) { first_of_third = Shown(s); });
  EXPECT_EQ(first_of_third, "0.jpg");
}

TEST_F(SlideShowDisplayTest, EmptyDirectoryShowsOnlyTheBackgroundUntilEnded) {
  main_.hscrShow.SetValue(1);
  Open([&](FormSlideShow& s) {
    Ticks(s, 30);
    EXPECT_TRUE(s.Timer1.Enabled());
    EXPECT_TRUE(s.Visible());
    EXPECT_EQ(platform_.cursor.counter, -1);
    EXPECT_EQ(s.Image1.CurrentPicture(), nullptr);
    EXPECT_TRUE(s.CurrentPath.empty());
    Key(s, kVkNext);  // Page Down pauses and shows nothing
    Key(s, kVkPrior);
    EXPECT_FALSE(s.Timer1.Enabled());
    for (std::int16_t key : {kVkDelete, kVkP, kVkC, kVkW}) Key(s, key);
    EXPECT_TRUE(platform_.message_box.shown.empty());
  });
  EXPECT_TRUE(platform_.pictures.loads.empty());
}

TEST(IndexStepTest, NextAndPreviousWrapAround) {
  struct Case {
    std::int16_t position, count;
    bool next_ok;
    std::int16_t next;
    bool previous_ok;
    std::int16_t previous;
  };
  for (const Case& c : {Case{4, 5, true, 0, true, 3}, Case{0, 5, true, 1, true, 4},
                        Case{5, 5, true, 0, true, 4}, Case{0, 1, true, 0, true, 0},
                        Case{3, 0, false, 3, false, 3}, Case{2, -1, false, 2, false, 2}}) {
    std::int16_t p = c.position;
    EXPECT_EQ(FormSlideShow::NextIndex(p, c.count), c.next_ok);
    EXPECT_EQ(p, c.next) << c.position << "/" << c.count;
    p = c.position;
    EXPECT_EQ(FormSlideShow::PreviousIndex(p, c.count), c.previous_ok);
    EXPECT_EQ(p, c.previous) << c.position << "/" << c.count;
  }
}

}  // namespace
}  // namespace trelvin::test_support
