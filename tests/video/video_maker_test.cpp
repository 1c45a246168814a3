// The video maker on real files: nothing but a complete video ever appears under the video's
// name, and pictures of another shape are letter-boxed.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "video/FrameLoader.h"
#include "video/MakeVideo.h"

namespace trelvin::video {
namespace {

namespace fs = std::filesystem;

// A JPEG of w x h: white, with the left `black` columns black.
void WriteJpeg(const fs::path& path, int w, int h, int black = 0) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3, 255);
  std::fill(row.begin(), row.begin() + black * 3, 0);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(file);
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class VideoMakerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trelvin-video-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir_;
};

TEST_F(VideoMakerTest, OnlyACompleteVideoEverTakesItsName) {
  for (int i = 0; i < 6; ++i)
    WriteJpeg(dir_ / ("2026120812000" + std::to_string(i) + ".jpg"), 64, 48);
  const fs::path target = dir_ / "run.webm";
  { std::ofstream(target) << "an older video"; }
  const std::vector<std::string> before = Names();

  // Cancelled half-way: the older file is as it was, and nothing else is left behind.
  std::atomic<bool> cancel{false};
  VideoRequest request{dir_.string(), "", "", 10, 0, target.string()};
  VideoResult result = MakeVideo(
      request, [&](int done, int) { cancel = done >= 3; }, &cancel);
  EXPECT_EQ(result.status, VideoStatus::kCancelled);
  EXPECT_EQ(Contents(target), "an older video");
  EXPECT_EQ(Names(), before);

  // Into a folder that is not there: refused before anything is encoded.
  request.output = (dir_ / "gone" / "run.webm").string();
  EXPECT_EQ(MakeVideo(request, nullptr, nullptr).status, VideoStatus::kNotWritable);
  EXPECT_EQ(Names(), before);

  // Complete: it replaces the file it was asked to write, in one step.
  request.output = target.string();
  result = MakeVideo(request, nullptr, nullptr);
  ASSERT_EQ(result.status, VideoStatus::kDone);
  EXPECT_EQ(result.frames, 6);
  EXPECT_EQ(Contents(target).substr(0, 4), "\x1a\x45\xdf\xa3");  // the EBML header
  EXPECT_EQ(Names(), before);
}

// Probe: luma at (x, y) of the frame, expected black (limited range 16) or white (235).
struct Probe {
  int x, y;
  bool white;
};
struct PlaceCase {
  int source_w, source_h, black_columns;
  std::vector<Probe> probes;
};

TEST_F(VideoMakerTest, PicturesOfAnotherShapeAreLetterBoxed) {
  const std::vector<PlaceCase> cases = {
      // Same shape, four times as large: shrunk while decoding, nothing cut off.
      {256, 128, 128, {{2, 16, false}, {30, 16, false}, {34, 16, true}, {62, 16, true}}},
      // Square: bars left and right.
      {32,
       32,
       0,
       {{2, 16, false}, {14, 16, false}, {18, 16, true}, {46, 16, true}, {62, 16, false}}},
      // Wider: bars above and below.
      {128, 32, 0, {{32, 2, false}, {32, 6, false}, {32, 16, true}, {32, 29, false}}},
  };
  FrameLoader loader;
  Frame frame;
  for (const PlaceCase& c : cases) {
    const fs::path path = dir_ / "picture.jpg";
    WriteJpeg(path, c.source_w, c.source_h, c.black_columns);
    frame.Resize(64, 32);
    ASSERT_TRUE(loader.Load(path.string(), frame));
    for (const Probe& p : c.probes) {
      const int luma = frame.y[static_cast<std::size_t>(p.y * 64 + p.x)];
      EXPECT_NEAR(luma, p.white ? 235 : 16, 12)
          << c.source_w << "x" << c.source_h << " at " << p.x << "," << p.y;
    }
  }
  // Cut short: damaged, refused.
  const std::string whole = Contents(dir_ / "picture.jpg");
  { std::ofstream(dir_ / "cut.jpg", std::ios::binary) << whole.substr(0, whole.size() / 2); }
  EXPECT_FALSE(loader.Load((dir_ / "cut.jpg").string(), frame));
}

}  // namespace
}  // namespace trelvin::video
