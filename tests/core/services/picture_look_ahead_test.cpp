// The picture service's shared half: the picture decoded ahead is handed over once when it is the
// one asked for and its file is unchanged; otherwise the load decodes the file itself.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "core/services/PictureLookAhead.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

using Fit = PictureDecoder::Fit;

// Files by path with their stamps, changed by the tests between reads; counts the decodes.
struct Files {
  std::mutex mutex;
  std::map<std::string, FileStamp> stamps{{"a", {10, 1}}, {"b", {20, 1}}};
  std::atomic<int> ahead{0}, at_once{0};
  std::promise<void> first_ahead;
  bool throw_ahead = false;
};

class FakeDecoder : public PictureDecoder {
 public:
  explicit FakeDecoder(Files& files) : files_(files) {}
  std::shared_ptr<const Picture> Decode(const std::string& path, Size display, Fit fit) override {
    if (fit == Fit::kCover) {
      ++files_.at_once;
    } else {
      if (files_.ahead++ == 0) files_.first_ahead.set_value();
      if (files_.throw_ahead) throw std::runtime_error("decoder failed");
    }
    return std::make_shared<fakes::FakePicture>(display, path);
  }
  std::optional<FileStamp> Stamp(const std::string& path) override {
    std::lock_guard lock(files_.mutex);
    auto it = files_.stamps.find(path);
    if (it == files_.stamps.end()) return std::nullopt;
    return it->second;
  }

 private:
  Files& files_;
};

class TestPictures : public PictureLookAhead {
 public:
  explicit TestPictures(Files& files, StartThread start = StandardThread,
                        AfterDraw after_draw = nullptr)
      : PictureLookAhead(std::make_unique<FakeDecoder>(files), std::move(start),
                         std::move(after_draw)) {}
  bool SavePicture(const Picture&, const std::string&) override { return false; }
};

class PictureLookAheadTest : public ::testing::Test {
 protected:
  // Loads `path`; true when the picture came prepared, false when the load decoded it itself.
  bool LoadedPrepared(const std::string& path, Size display, Pictures* pictures = nullptr) {
    const int at_once = files_.at_once;
    EXPECT_NE((pictures ? *pictures : pictures_).LoadPicture(path, display), nullptr);
    return files_.at_once == at_once;
  }

  Files files_;
  TestPictures pictures_{files_};
};

TEST_F(PictureLookAheadTest, OnlyTheAskedForPictureIsHandedOverAndOnlyOnce) {
  pictures_.PreparePicture("a", {64, 48});
  pictures_.PreparePicture("a", {64, 48});  // already under way: not decoded twice
  EXPECT_FALSE(LoadedPrepared("a", {}));
  EXPECT_FALSE(LoadedPrepared("b", {64, 48}));
  EXPECT_TRUE(LoadedPrepared("a", {64, 48}));
  EXPECT_EQ(files_.ahead, 1);
  EXPECT_FALSE(LoadedPrepared("a", {64, 48}));  // handed over, not kept
  // A new request replaces the old; a drop leaves nothing.
  pictures_.PreparePicture("a", {});
  pictures_.PreparePicture("b", {});
  EXPECT_TRUE(LoadedPrepared("b", {}));
  EXPECT_FALSE(LoadedPrepared("a", {}));
  pictures_.PreparePicture("a", {});
  pictures_.DropPreparedPicture();
  EXPECT_FALSE(LoadedPrepared("a", {}));
}

TEST_F(PictureLookAheadTest, AFileThatChangedOrWentAwayAfterItWasReadIsNotTaken) {
  for (std::optional<FileStamp> later :
       {std::optional<FileStamp>{FileStamp{11, 1}}, std::optional<FileStamp>{FileStamp{10, 2}},
        std::optional<FileStamp>{}}) {
    {
      std::lock_guard lock(files_.mutex);
      files_.stamps["a"] = FileStamp{10, 1};
    }
    files_.first_ahead = {};
    files_.ahead = 0;
    auto decoded = files_.first_ahead.get_future();
    pictures_.PreparePicture("a", {8, 8});
    decoded.wait();  // the stamp is read before the decode
    {
      std::lock_guard lock(files_.mutex);
      files_.stamps.erase("a");
      if (later) files_.stamps["a"] = *later;
    }
    EXPECT_FALSE(LoadedPrepared("a", {8, 8}));
    pictures_.DropPreparedPicture();
  }
}

// The next picture is decoded once the change that asked for it has been drawn, so that the two
// do not share the processor; or at once when it is asked for first. A late call is harmless.
TEST_F(PictureLookAheadTest, TheDecodeWaitsForTheDrawingUnlessThePictureIsAskedFor) {
  std::vector<std::function<void()>> drawn;
  auto held = std::make_unique<TestPictures>(
      files_, PictureLookAhead::StandardThread,
      [&](std::function<void()> then) { drawn.push_back(std::move(then)); });
  auto decoded = files_.first_ahead.get_future();
  held->PreparePicture("a", {8, 8});
  EXPECT_FALSE(LoadedPrepared("b", {8, 8}, held.get()));
  EXPECT_EQ(files_.ahead, 0);  // not before the window has drawn
  ASSERT_EQ(drawn.size(), 1u);
  drawn[0]();
  decoded.wait();
  EXPECT_TRUE(LoadedPrepared("a", {8, 8}, held.get()));
  held->PreparePicture("b", {8, 8});
  EXPECT_TRUE(LoadedPrepared("b", {8, 8}, held.get()));  // with the fault, waited forever
  held.reset();
  for (const auto& then : drawn) then();
}

// A worker that cannot start or that fails never holds the show: the load decodes at once.
TEST_F(PictureLookAheadTest, NoWorkerOrAFailingOneLeavesTheLoadToDecodeItself) {
  int starts = 0;
  TestPictures no_threads(files_, [&](std::function<void()>) -> std::thread {
    ++starts;
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  for (const char* path : {"a", "b"}) {
    no_threads.PreparePicture(path, {8, 8});
    EXPECT_FALSE(LoadedPrepared(path, {8, 8}, &no_threads));  // with the fault, waited forever
  }
  EXPECT_EQ(starts, 2);

  files_.throw_ahead = true;
  pictures_.PreparePicture("a", {8, 8});
  EXPECT_FALSE(LoadedPrepared("a", {8, 8}));
  pictures_.PreparePicture("b", {8, 8});  // the worker lives on after the failure
  EXPECT_FALSE(LoadedPrepared("b", {8, 8}));
  EXPECT_EQ(files_.ahead, 2);
}

}  // namespace
}  // namespace trelvin
