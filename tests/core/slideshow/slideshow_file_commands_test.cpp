// The slide show's commands that act on files (Delete and C), on the fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SlideShowFixture.h"
#include "core/base/VirtualKeys.h"
#include "core/services/MessageBox.h"

namespace trelvin::test_support {
namespace {

using SlideShowFileCommandsTest = FourPicturesFixture;

TEST_F(SlideShowFileCommandsTest, DeleteAsksWithThePathAndDeletesOnlyOnYes) {
  Open([&](FormSlideShow& s) {
    Key(s, kVkDelete);  // answered No
    EXPECT_TRUE(platform_.files.Has(NativePath("/pics/0.jpg")));
    platform_.message_box.answers = {kIdYes};
    Key(s, kVkDelete);
    EXPECT_FALSE(platform_.files.Has(NativePath("/pics/0.jpg")));
    EXPECT_EQ(Shown(s), "0.jpg");
    EXPECT_EQ(s.lstImages.ListCount(), 4);
    EXPECT_EQ(s.PictureIndex, 1);
    // Again on the same picture: the same question, the deletion fails silently.
    platform_.message_box.answers = {kIdYes};
    Key(s, kVkDelete);
    EXPECT_TRUE(s.Loaded());
  });
  ASSERT_EQ(platform_.message_box.shown.size(), 3u);
  for (const auto& box : platform_.message_box.shown) {
    EXPECT_EQ(box.text, NativePath("Do you want to delete the file\r\n'/pics/0.jpg'?"));
  }
}

// A picture that fails to load leaves the one before it on the screen: the file commands act on
// that one, and before any picture has loaded none of the four asks anything. C copies into the
// program's directory.
TEST_F(SlideShowFileCommandsTest, FileCommandsActOnThePictureOnTheScreen) {
  main_.AppPath = NativePath("/mixed/");
  platform_.files.Add(NativePath("/mixed/broken.jpg"));
  platform_.files.Add(NativePath("/mixed/good.jpg"));
  platform_.files.Add(NativePath("/mixed/damaged.jpg"));
  platform_.pictures.sizes[NativePath("/mixed/good.jpg")] = {320, 200};
  platform_.message_box.answers = {kIdYes, kIdYes};
  Open([&](FormSlideShow& s) {
    ASSERT_EQ(s.CurrentPath, NativePath("/mixed/broken.jpg"));
    for (std::int16_t key : {kVkDelete, kVkC, kVkP, kVkW}) Key(s, key);
    EXPECT_TRUE(platform_.message_box.shown.empty());
    Ticks(s, 20);  // good.jpg, then damaged.jpg fails and good.jpg stays
    ASSERT_EQ(s.CurrentPath, NativePath("/mixed/damaged.jpg"));
    ASSERT_EQ(Shown(s), "good.jpg");
    Key(s, kVkC);
    Key(s, kVkDelete);
  });
  EXPECT_TRUE(platform_.files.Has(NativePath("/opt/trelvin/good.jpg")));
  EXPECT_FALSE(platform_.files.Has(NativePath("/opt/trelvin/damaged.jpg")));
  EXPECT_FALSE(platform_.files.Has(NativePath("/mixed/good.jpg")));
  EXPECT_TRUE(platform_.files.Has(NativePath("/mixed/damaged.jpg")));
  ASSERT_EQ(platform_.message_box.shown.size(), 2u);
  EXPECT_EQ(platform_.message_box.shown[0].text,
            NativePath("Do you want to copy this image?\r\n'/mixed/good.jpg'"));
  EXPECT_EQ(platform_.message_box.shown[1].text,
            NativePath("Do you want to delete the file\r\n'/mixed/good.jpg'?"));
}

TEST_F(SlideShowFileCommandsTest, CopyOntoItselfLeavesTheFileIntact) {
  main_.AppPath = NativePath("/opt/trelvin/");
  platform_.files.Add(NativePath("/opt/trelvin/self.jpg"), {1, 2, 3});
  platform_.pictures.sizes[NativePath("/opt/trelvin/self.jpg")] = {10, 10};
  platform_.message_box.answers = {kIdYes};
  Open([&](FormSlideShow& s) {
    Key(s, kVkC);
    EXPECT_TRUE(s.Loaded());
  });
  EXPECT_EQ(platform_.files.files[NativePath("/opt/trelvin/self.jpg")],
            (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(platform_.message_box.shown.size(), 1u);  // the question only
}

TEST_F(SlideShowFileCommandsTest, EmptyShowAfterAnEarlierOneStillActsOnItsLastPicture) {
  Open();
  const std::string earlier = show().CurrentPath;
  ASSERT_EQ(earlier, NativePath("/pics/0.jpg"));
  main_.AppPath = NativePath("/empty/");
  platform_.message_box.answers = {kIdYes, kIdYes};
  Open([&](FormSlideShow& s) {
    EXPECT_EQ(s.lstImages.ListCount(), 0);
    Key(s, kVkC);
    Key(s, kVkDelete);
  });
  EXPECT_FALSE(platform_.files.Has(NativePath("/pics/0.jpg")));
  EXPECT_TRUE(platform_.files.Has(NativePath("/opt/trelvin/0.jpg")));
  EXPECT_EQ(platform_.message_box.shown[1].text,
            "Do you want to delete the file\r\n'" + earlier + "'?");
}

}  // namespace
}  // namespace trelvin::test_support
