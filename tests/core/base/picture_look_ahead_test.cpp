// The picture decoded ahead: handed over once when it is the one asked for and its file is
// unchanged, otherwise left to the caller's own load.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "core/base/PictureLookAhead.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

class PictureLookAheadTest : public ::testing::Test {
 protected:
  // The file's stamp as the worker reads it; changed by the tests between reads.
  std::optional<FileStamp> StampOf(const std::string& path) {
    std::lock_guard lock(mutex_);
    auto it = stamps_.find(path);
    if (it == stamps_.end()) return std::nullopt;
    return it->second;
  }
  void SetStamp(const std::string& path, std::optional<FileStamp> stamp) {
    std::lock_guard lock(mutex_);
    if (stamp) {
      stamps_[path] = *stamp;
    } else {
      stamps_.erase(path);
    }
  }

  std::mutex mutex_;
  std::map<std::string, FileStamp> stamps_{{"a", {10, 1}}, {"b", {20, 1}}};
  std::atomic<int> decodes_{0};
  std::promise<void> first_decode_;
  PictureLookAhead look_ahead_{
      [this](const std::string& path, Size display) -> std::shared_ptr<const Picture> {
        if (decodes_++ == 0) first_decode_.set_value();
        return std::make_shared<fakes::FakePicture>(display, path);
      },
      [this](const std::string& path) { return StampOf(path); }};
};

TEST_F(PictureLookAheadTest, OnlyTheAskedForPictureIsHandedOverAndOnlyOnce) {
  look_ahead_.Prepare("a", {64, 48});
  look_ahead_.Prepare("a", {64, 48});  // already under way: not decoded twice
  EXPECT_EQ(look_ahead_.Take("a", {}), nullptr);
  EXPECT_EQ(look_ahead_.Take("b", {64, 48}), nullptr);
  auto picture = look_ahead_.Take("a", {64, 48});
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->PixelSize(), (Size{64, 48}));
  EXPECT_EQ(decodes_, 1);
  EXPECT_EQ(look_ahead_.Take("a", {64, 48}), nullptr);  // handed over, not kept
  // A new request replaces the old; a drop leaves nothing.
  look_ahead_.Prepare("a", {});
  look_ahead_.Prepare("b", {});
  EXPECT_NE(look_ahead_.Take("b", {}), nullptr);
  EXPECT_EQ(look_ahead_.Take("a", {}), nullptr);
  look_ahead_.Prepare("a", {});
  look_ahead_.Drop();
  EXPECT_EQ(look_ahead_.Take("a", {}), nullptr);
}

TEST_F(PictureLookAheadTest, AFileThatChangedOrWentAwayAfterItWasReadIsNotTaken) {
  for (std::optional<FileStamp> later :
       {std::optional<FileStamp>{FileStamp{11, 1}}, std::optional<FileStamp>{FileStamp{10, 2}},
        std::optional<FileStamp>{}}) {
    SetStamp("a", FileStamp{10, 1});
    first_decode_ = {};
    decodes_ = 0;
    auto decoded = first_decode_.get_future();
    look_ahead_.Prepare("a", {8, 8});
    decoded.wait();  // the stamp is read before the decode
    SetStamp("a", later);
    EXPECT_EQ(look_ahead_.Take("a", {8, 8}), nullptr);
    look_ahead_.Drop();
  }
}

}  // namespace
}  // namespace trelvin
