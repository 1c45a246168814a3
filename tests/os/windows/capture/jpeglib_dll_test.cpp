// jpeglib.dll as another program uses it: loaded by LoadLibrary, BmpToJpeg called through a
// pointer of its declared type, with ANSI paths. What every converter keeps (the picture, the
// level, damaged bitmaps, never over its own source) is in
// tests/conformance/jpeg_converter_test.cpp.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/base/Bitmap.h"
#include "core/base/BmpFile.h"
#include "os/windows/TestFiles.h"
#include "os/windows/WinText.h"
#include "os/windows/capture/WinJpegConverter.h"
#include "support/TestPictures.h"

namespace trelvin {
namespace {

using BmpToJpegFunction = int(__stdcall*)(const char*, const char*, std::int16_t);

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.find_last_of("\\/") + 1);
}

// With an ANSI path, as the DLL's callers have.
void WriteAnsi(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
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
    dir_ = test_support::FreshFolder("jpeglib");  // ASCII: the ANSI calls can name it
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
  BmpToJpegFunction convert_ = nullptr;
  std::string dir_;
};

// Exported by its plain name (beside it BmpToJpegW, with UTF-16 paths), and taking ANSI paths.
TEST_F(JpeglibDll, ExportsBmpToJpegByItsPlainNameAndTakesAnsiPaths) {
  EXPECT_NE(GetProcAddress(module_, "BmpToJpegW"), nullptr);
  EXPECT_EQ(GetProcAddress(module_, "BmpToJpeg@10"), nullptr);
  EXPECT_EQ(GetProcAddress(module_, "_BmpToJpeg@10"), nullptr);
  // "café" in code page 1252, the ANSI code page here.
  const std::string name = dir_ + "caf\xE9";
  WriteAnsi(name + ".bmp", EncodeBmp24(test_support::TestPicture(40, 30)));
  ASSERT_EQ(convert_((name + ".bmp").c_str(), (name + ".jpg").c_str(), 50), 0);
  EXPECT_TRUE(GetFileAttributesW((Widen(dir_) + L"caf\u00e9.jpg").c_str()) !=
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(JpeglibDll, ServiceReachesFoldersTheAnsiCodePageCannotName) {
  // Cyrillic and an emoji: code page 1252 spells neither, and no short name is asked for.
  const std::string folder =
      dir_ + "\xD0\xA1\xD0\xBD\xD0\xB8\xD0\xBC\xD0\xBA\xD0\xB8 \xF0\x9F\x93\xB7\\";
  ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
  test_support::WriteBytes(folder + "a.bmp", EncodeBmp24(test_support::TestPicture(40, 30)));
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
