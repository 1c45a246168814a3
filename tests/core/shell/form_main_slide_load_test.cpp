// Start-up, run modes and the settings store of the settings window, on fakes.
#include <gtest/gtest.h>

#include "core/shell/FormMainSlide.h"
#include "core/shell/UnloadAtSessionEnd.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

class FormMainSlideLoadTest : public ::testing::Test {
 protected:
  FormMainSlide& Start(const std::string& command_line) {
    form_ = std::make_unique<FormMainSlide>(platform_.services, command_line);
    platform_.runtime.Events(*form_).Load();
    return *form_;
  }
  void HavePlaylist(int which) {
    platform_.files.Add(platform_.known_paths.playlists[which], {'#'});
  }

  fakes::FakePlatform platform_;
  std::unique_ptr<FormMainSlide> form_;
};

// A stored "MP3" without a playlist is never read, and 0 replaces it at unload.
TEST_F(FormMainSlideLoadTest, EmptyStoreGivesTheDefaults) {
  platform_.settings.values = {{"MP3", "1"}};
  FormMainSlide& form = Start("");
  EXPECT_EQ(form.AppPath, NativePath("/opt/trelvin/"));
  EXPECT_EQ(form.lblPath.Caption(), NativePath("/opt/trelvin/"));
  EXPECT_EQ(form.lblPath.ToolTipText(), NativePath("/opt/trelvin/"));
  EXPECT_EQ(form.hScrCompression.Value(), 60);
  EXPECT_EQ(form.hscrCapture.Value(), 10);
  EXPECT_EQ(form.hscrShow.Value(), 10);
  EXPECT_EQ(form.chkStretch.Value(), 0);
  EXPECT_EQ(form.chkMusic.Value(), 1);
  EXPECT_EQ(form.chkRandom.Value(), 0);
  EXPECT_EQ(form.chkMP3.Value(), 0);
  EXPECT_FALSE(form.chkMP3.Visible());
  EXPECT_EQ(form.lblCapture.Caption(), "10 seconds");
  EXPECT_EQ(form.lblCompression.Caption(), "60%");
  EXPECT_EQ(form.lblShow.Caption(), "1.0 seconds");
  EXPECT_TRUE(form.Loaded());
  EXPECT_EQ(platform_.runtime.end_at_once, 0);
  EXPECT_FALSE(platform_.settings.wrong_place);
  // Without a playlist "MP3" is never read.
  EXPECT_EQ(platform_.settings.reads,
            (std::vector<std::string>{"Path", "CompressionLevel", "CaptureInterval", "ShowInterval",
                                      "StretchImage", "Music", "Random"}));
  form.Unload();
  EXPECT_EQ(platform_.settings.values.at("MP3"), "0");
}

// An installation the user cannot write to captures into the Pictures folder's Trelvin, made by
// the first capture; a stored folder is kept as it is and never made.
TEST_F(FormMainSlideLoadTest, UnwritableProgramDirectoryCapturesIntoPictures) {
  platform_.files.unwritable_dirs.insert(NativePath("/opt/trelvin/"));
  FormMainSlide& form = Start("");
  const std::string pictures = NativePath("/home/u/Pictures/Trelvin/");
  EXPECT_EQ(form.AppPath, pictures);
  EXPECT_EQ(form.lblPath.Caption(), pictures);
  ASSERT_TRUE(form.hscrCapture.SetValue(1));
  form.btnStart_Click();
  platform_.runtime.Events(form).Tick(form.Timer1);
  EXPECT_EQ(platform_.files.created_dirs, std::vector<std::string>{pictures});
  EXPECT_TRUE(platform_.files.Has(pictures + "20261207130509.jpg"));

  platform_.settings.values["Path"] = NativePath("/media/usb/caps");
  FormMainSlide& chosen = Start("");
  chosen.btnStart_Click();
  platform_.runtime.Events(chosen).Tick(chosen.Timer1);
  EXPECT_EQ(chosen.AppPath, NativePath("/media/usb/caps/"));
  EXPECT_EQ(platform_.files.created_dirs.size(), 1u);
}

TEST_F(FormMainSlideLoadTest, UnusableStoredValuesKeepTheInitialStateNotTheDefault) {
  auto& v = platform_.settings.values;
  v = {{"CaptureInterval", "700"}, {"CompressionLevel", "0"},
       {"ShowInterval", "abc"},    {"Music", ""},
       {"StretchImage", "3"},      {"Random", "1"}};
  FormMainSlide& form = Start("/c");
  EXPECT_EQ(form.hscrCapture.Value(), 1);
  EXPECT_EQ(form.lblCapture.Caption(), "1 seconds");
  EXPECT_EQ(form.hScrCompression.Value(), 1);
  EXPECT_EQ(form.hscrShow.Value(), 1);
  EXPECT_EQ(form.lblShow.Caption(), "0.1 seconds");
  EXPECT_EQ(form.chkMusic.Value(), 0);
  EXPECT_EQ(form.chkStretch.Value(), 0);
  EXPECT_EQ(form.chkRandom.Value(), 1);

  form.Unload();
  const auto& w = platform_.settings.values;
  EXPECT_EQ(w.at("CaptureInterval"), "1");
  EXPECT_EQ(w.at("CompressionLevel"), "1");
  EXPECT_EQ(w.at("Music"), "0");
}

TEST_F(FormMainSlideLoadTest, PathGetsExactlyOneTrailingSlash) {
  platform_.settings.values["Path"] = NativePath("/srv/pics");
  EXPECT_EQ(Start("").AppPath, NativePath("/srv/pics/"));
  platform_.settings.values["Path"] = NativePath("/srv/pics/");
  EXPECT_EQ(Start("").AppPath, NativePath("/srv/pics/"));
  platform_.settings.values["Path"] = "";
  EXPECT_EQ(Start("").AppPath, NativePath("/"));
  platform_.settings.values.erase("Path");
  platform_.files.exe_dir = NativePath("/");
  EXPECT_EQ(Start("").AppPath, NativePath("/"));
}

TEST_F(FormMainSlideLoadTest, UnreadableStoreStillStartsAndWritesAtUnload) {
  platform_.settings.read_fails = true;
  FormMainSlide& form = Start("");
  EXPECT_TRUE(form.Loaded());
  EXPECT_EQ(form.hscrCapture.Value(), 1);
  EXPECT_EQ(form.lblCapture.Caption(), "1 seconds");
  EXPECT_TRUE(platform_.settings.writes.empty());
  platform_.settings.failing_keys = {"Path"};
  platform_.settings.read_fails = false;
  form.Unload();
  // A failing write does not stop the others, nor the one save that follows them all.
  EXPECT_EQ(platform_.settings.writes.size(), 7u);
  EXPECT_EQ(platform_.settings.saves, std::vector<std::size_t>{7u});
}

TEST_F(FormMainSlideLoadTest, UnloadWritesAllEightInOrderSavesOnceAndAFailedSaveStopsNothing) {
  HavePlaylist(0);
  platform_.settings.values = {{"Music", "2"}, {"MP3", "1"}, {"Path", NativePath("/p")}};
  FormMainSlide& form = Start("");
  EXPECT_TRUE(platform_.settings.saves.empty());
  form.Timer1.SetEnabled(true);
  platform_.settings.save_fails = true;
  form.Unload();
  const std::vector<std::pair<std::string, std::string>> expected{{"Path", NativePath("/p/")},
                                                                  {"CompressionLevel", "60"},
                                                                  {"CaptureInterval", "10"},
                                                                  {"ShowInterval", "10"},
                                                                  {"StretchImage", "0"},
                                                                  {"Music", "2"},
                                                                  {"Random", "0"},
                                                                  {"MP3", "1"}};
  EXPECT_EQ(platform_.settings.writes, expected);
  EXPECT_EQ(platform_.settings.saves, std::vector<std::size_t>{8u});
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_FALSE(form.Loaded());
}

TEST_F(FormMainSlideLoadTest, PlaylistOffersMp3AndFollowsMusic) {
  HavePlaylist(1);
  platform_.settings.values = {{"Music", "0"}, {"MP3", "1"}};
  FormMainSlide& form = Start("");
  EXPECT_TRUE(form.chkMP3.Visible());
  EXPECT_EQ(form.chkMP3.Value(), 1);
  EXPECT_FALSE(form.chkMP3.Enabled());
  form.chkMusic.SetValue(1);
  EXPECT_TRUE(form.chkMP3.Enabled());
  EXPECT_EQ(form.chkMP3.Value(), 1);  // the state is untouched
  form.chkMusic.SetValue(2);
  EXPECT_TRUE(form.chkMP3.Enabled());
}

TEST_F(FormMainSlideLoadTest, PlaylistLocatorTriesTheLocationsInOrderAndIgnoresEmptyFiles) {
  FormMainSlide& form = Start("");
  EXPECT_EQ(form.FindWinampPlaylist(), "");
  platform_.files.Add(platform_.known_paths.playlists[0], {});
  EXPECT_EQ(form.FindWinampPlaylist(), "");  // 0 bytes counts as missing
  HavePlaylist(1);
  EXPECT_EQ(form.FindWinampPlaylist(), platform_.known_paths.playlists[1]);
  HavePlaylist(0);
  EXPECT_EQ(form.FindWinampPlaylist(), platform_.known_paths.playlists[0]);
  platform_.files.length_fails = true;
  EXPECT_FALSE(form.FileExists(platform_.known_paths.playlists[0]));
}

struct RunModeCase {
  const char* command_line;
  bool shows_window;  // the form stays loaded for the runtime to show
  bool ends_at_once;
  bool runs_show;
};

class RunModeTest : public FormMainSlideLoadTest,
                    public ::testing::WithParamInterface<RunModeCase> {};

TEST_P(RunModeTest, FirstTwoCharactersLowerCasedPickTheMode) {
  const RunModeCase& c = GetParam();
  FormMainSlide& form = Start(c.command_line);
  // The real runtime never returns from an immediate end; the fake does, so only the call counts.
  if (!c.ends_at_once) {
    EXPECT_EQ(form.Loaded(), c.shows_window);
  }
  EXPECT_EQ(platform_.runtime.end_at_once, c.ends_at_once ? 1 : 0);
  EXPECT_EQ(platform_.runtime.modal_shows, c.runs_show ? 1 : 0);
  // Steps 2 to 7 ran in every mode; only the slide-show mode writes (its window unloads).
  EXPECT_EQ(form.lblCapture.Caption(), "10 seconds");
  EXPECT_EQ(platform_.settings.writes.empty(), !c.runs_show);
  if (c.runs_show) {
    EXPECT_EQ(platform_.runtime.modal_owners.front(), &form);
    EXPECT_EQ(form.formSlideShow().Interval, 10);
  }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RunModeTest,
    ::testing::Values(RunModeCase{"", true, false, false}, RunModeCase{"/c", true, false, false},
                      RunModeCase{"/C:1234", true, false, false},
                      RunModeCase{"/P 1234", false, true, false},
                      RunModeCase{"/p", false, true, false}, RunModeCase{"/s", false, false, true},
                      RunModeCase{"/S", false, false, true}, RunModeCase{"-x", false, false, true},
                      RunModeCase{"/", false, false, true}));

TEST_F(FormMainSlideLoadTest, SecondInstanceEndsBeforeReadingAnything) {
  platform_.instance.another = true;
  Start("/c");
  EXPECT_EQ(platform_.runtime.end_at_once, 1);
  EXPECT_TRUE(platform_.settings.reads.empty());
  EXPECT_TRUE(platform_.settings.writes.empty());
}

TEST_F(FormMainSlideLoadTest, SessionEndUnloadsTheShowThenItsOwnerWhichWritesOnce) {
  FormMainSlide& settings = Start("");
  std::vector<std::string> unloaded;
  platform_.runtime.modal_script = [&](Form& show) {
    for (Form* form : {static_cast<Form*>(&settings), &show}) {
      form->SetVisible(true);
      form->on_view_changed = [form, &unloaded] {
        if (!form->Loaded()) unloaded.push_back(form->Name());
      };
    }
    UnloadAtSessionEnd(settings);
  };
  settings.btnShow_Click();
  EXPECT_EQ(unloaded, (std::vector<std::string>{"formSlideShow", "formMainSlide"}));
  EXPECT_EQ(platform_.settings.saves.size(), 1u);
}

}  // namespace
}  // namespace trelvin
