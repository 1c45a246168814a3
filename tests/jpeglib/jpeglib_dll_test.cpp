// jpeglib.dll as another program uses it: loaded by LoadLibrary, BmpToJpeg called through a
// pointer of its declared type, with ANSI paths.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/base/Bitmap.h"
#include "core/base/BmpFile.h"
#include "os/windows/WinText.h"
#include "os/windows/capture/WinJpegConverter.h"
#include "support/JpegDecode.h"

namespace trelvin {
namespace {

using BmpToJpegFunction = int(__stdcall*)(const char*, const char*, std::int16_t);

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.find_last_of("\\/") + 1);
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int64_t Length(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A picture whose every region has its own colour, so a shifted or mirrored image shows.
// With `noise`, every pixel is also disturbed a little, as a real screen is.
Bitmap Pattern(int width, int height, bool noise = false) {
  std::uint32_t seed = 7;
  Bitmap image;
  image.Resize(width, height, MakeRgb(0, 0, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t r = x < width / 2 ? 0xE0 : 0x20;
      const std::uint32_t g = y < height / 2 ? 0xD0 : 0x30;
      const std::uint32_t b = (x / 16 + y / 16) % 2 ? 0xC0 : 0x40;
      seed = seed * 1664525u + 1013904223u;
      const std::uint32_t jitter = noise ? seed >> 28 : 0;
      image.Row(y)[x] = (r + jitter) << 16 | (g + jitter) << 8 | (b + jitter);
    }
  }
  return image;
}

// Names left in `directory` that the converter's temporary files would have.
std::vector<std::string> TemporaryFiles(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((directory + "~*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

class JpeglibDll : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA((ProgramDirectory() + "jpeglib.dll").c_str());
    ASSERT_NE(module_, nullptr);
    // Through void*, as GetProcAddress results are meant to be cast to their real type.
    convert_ = reinterpret_cast<BmpToJpegFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "BmpToJpeg")));
    ASSERT_NE(convert_, nullptr);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "trelvin-jpeglib-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir_ + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do DeleteFileA((dir_ + data.cFileName).c_str());
      while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(dir_.c_str());
    if (module_) FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
  BmpToJpegFunction convert_ = nullptr;
  std::string dir_;
};

TEST_F(JpeglibDll, ExportsBmpToJpegByItsPlainName) {
  EXPECT_NE(GetProcAddress(module_, "BmpToJpegW"), nullptr);  // beside it, with UTF-16 paths
  EXPECT_EQ(GetProcAddress(module_, "BmpToJpeg@10"), nullptr);
  EXPECT_EQ(GetProcAddress(module_, "_BmpToJpeg@10"), nullptr);
}

TEST_F(JpeglibDll, RoundTripKeepsSizeAndPicture) {
  const Bitmap image = Pattern(160, 96);
  WriteBytes(dir_ + "in.bmp", EncodeBmp24(image));
  ASSERT_EQ(convert_((dir_ + "in.bmp").c_str(), (dir_ + "out.jpg").c_str(), 95), 0);
  EXPECT_TRUE(Exists(dir_ + "in.bmp"));
  const test_support::DecodedJpeg jpeg = test_support::DecodeJpegFile(dir_ + "out.jpg");
  ASSERT_TRUE(jpeg.ok);
  ASSERT_EQ(jpeg.width, 160);
  ASSERT_EQ(jpeg.height, 96);
  int worst = 0;
  // The middle of every tile: JPEG blurs the edges between them a little, never swaps regions.
  for (int y = 8; y < 96; y += 16) {
    for (int x = 8; x < 160; x += 16) {
      const std::uint32_t want = image.Row(y)[x];
      const std::uint32_t got = jpeg.At(x, y);
      for (int shift : {0, 8, 16}) {
        const int difference =
            static_cast<int>(want >> shift & 0xFF) - static_cast<int>(got >> shift & 0xFF);
        worst = std::max(worst, std::abs(difference));
      }
    }
  }
  EXPECT_LT(worst, 24);
  EXPECT_TRUE(TemporaryFiles(dir_).empty());
}

TEST_F(JpeglibDll, LevelChangesTheFileAndReplacesTheOldOne) {
  WriteBytes(dir_ + "in.bmp", EncodeBmp24(Pattern(256, 256, true)));
  ASSERT_EQ(convert_((dir_ + "in.bmp").c_str(), (dir_ + "out.jpg").c_str(), 100), 0);
  const std::int64_t best = Length(dir_ + "out.jpg");
  ASSERT_EQ(convert_((dir_ + "in.bmp").c_str(), (dir_ + "out.jpg").c_str(), 1), 0);
  const std::int64_t worst = Length(dir_ + "out.jpg");
  EXPECT_GT(best, 0);
  EXPECT_GT(worst, 0);
  EXPECT_LT(worst * 2, best);
  EXPECT_TRUE(TemporaryFiles(dir_).empty());
}

TEST_F(JpeglibDll, DamagedBitmapsGiveNoJpegAndNoTemporaryFile) {
  std::vector<std::uint8_t> whole = EncodeBmp24(Pattern(64, 48));
  std::vector<std::vector<std::uint8_t>> damaged;
  damaged.push_back({});                   // empty
  damaged.push_back({'B', 'M', 1, 2, 3});  // header cut short
  damaged.push_back(std::vector<std::uint8_t>(whole.begin(), whole.begin() + whole.size() / 2));
  std::vector<std::uint8_t> bad_magic = whole;
  bad_magic[0] = 'X';
  damaged.push_back(bad_magic);
  std::vector<std::uint8_t> huge = whole;
  huge[18] = huge[19] = huge[20] = 0x7F;  // width far beyond the pixels there
  damaged.push_back(huge);
  for (std::size_t i = 0; i < damaged.size(); ++i) {
    SCOPED_TRACE(i);
    WriteBytes(dir_ + "bad.bmp", damaged[i]);
    EXPECT_NE(convert_((dir_ + "bad.bmp").c_str(), (dir_ + "bad.jpg").c_str(), 75), 0);
    EXPECT_FALSE(Exists(dir_ + "bad.jpg"));
    EXPECT_TRUE(TemporaryFiles(dir_).empty());
  }
  EXPECT_NE(convert_((dir_ + "missing.bmp").c_str(), (dir_ + "bad.jpg").c_str(), 75), 0);
  EXPECT_NE(convert_(nullptr, (dir_ + "bad.jpg").c_str(), 75), 0);
  EXPECT_FALSE(Exists(dir_ + "bad.jpg"));
}

TEST_F(JpeglibDll, NeverWritesOverItsOwnSource) {
  const std::vector<std::uint8_t> bytes = EncodeBmp24(Pattern(32, 32));
  WriteBytes(dir_ + "same.bmp", bytes);
  EXPECT_NE(convert_((dir_ + "same.bmp").c_str(), (dir_ + "SAME.BMP").c_str(), 75), 0);
  EXPECT_EQ(Length(dir_ + "same.bmp"), static_cast<std::int64_t>(bytes.size()));
}

TEST_F(JpeglibDll, TakesAnsiPaths) {
  // "café" in code page 1252, the ANSI code page here.
  const std::string name = dir_ + "caf\xE9";
  WriteBytes(name + ".bmp", EncodeBmp24(Pattern(40, 30)));
  ASSERT_EQ(convert_((name + ".bmp").c_str(), (name + ".jpg").c_str(), 50), 0);
  EXPECT_TRUE(GetFileAttributesW((Widen(dir_) + L"caf\u00e9.jpg").c_str()) !=
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(JpeglibDll, ServiceReachesFoldersTheAnsiCodePageCannotName) {
  // Cyrillic and an emoji: code page 1252 spells neither, and no short name is asked for.
  const std::string folder =
      dir_ + "\xD0\xA1\xD0\xBD\xD0\xB8\xD0\xBC\xD0\xBA\xD0\xB8 \xF0\x9F\x93\xB7\\";
  ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
  const std::vector<std::uint8_t> bytes = EncodeBmp24(Pattern(40, 30));
  HANDLE file = CreateFileW(Widen(folder + "a.bmp").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  WinJpegConverter service(ProgramDirectory() + "jpeglib.dll");
  EXPECT_EQ(service.BmpToJpeg(folder + "a.bmp", folder + "a.jpg", 80), 0);
  EXPECT_NE(GetFileAttributesW(Widen(folder + "a.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  // Invalid UTF-8 would name another file: refused before the DLL is called.
  EXPECT_EQ(service.BmpToJpeg(folder + "a.bmp", folder + "\xFF.jpg", 80),
            WinJpegConverter::kUnspellable);
  DeleteFileW(Widen(folder + "a.bmp").c_str());
  DeleteFileW(Widen(folder + "a.jpg").c_str());
  EXPECT_TRUE(RemoveDirectoryW(Widen(folder).c_str()));  // nothing else was left in it
  WinJpegConverter missing(dir_ + "nothing.dll");
  EXPECT_EQ(missing.BmpToJpeg(folder + "a.bmp", dir_ + "x.jpg", 80),
            WinJpegConverter::kUnavailable);
}

TEST_F(JpeglibDll, AnsiSpellingIsExactOrNothingAlsoWhereTheCodePageIsUtf8) {
  EXPECT_EQ(WinJpegConverter::ExactSpelling(L"caf\u00e9", 1252), "caf\xE9");
  EXPECT_EQ(WinJpegConverter::ExactSpelling(L"\u03b1\u03b2", 1252), std::nullopt);
  EXPECT_EQ(WinJpegConverter::ExactSpelling(L"\u0101", 1252), std::nullopt);  // best fit "a"
  EXPECT_EQ(WinJpegConverter::ExactSpelling(L"C:\\\u0421 \U0001F4F7", CP_UTF8),
            "C:\\\xD0\xA1 \xF0\x9F\x93\xB7");
}

}  // namespace
}  // namespace trelvin
