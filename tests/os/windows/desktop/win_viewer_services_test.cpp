// The viewer commands' services on the prefix's own system: the wallpaper, the default printer
// (one that prints to a file, added for the test) and the pointer's show counter.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <winspool.h>

#include <string>

#include "os/windows/TestFiles.h"
#include "os/windows/WinText.h"
#include "os/windows/desktop/WicPictures.h"
#include "os/windows/desktop/WinPrinter.h"
#include "os/windows/desktop/WinWallpaper.h"
#include "os/windows/window/WinCursor.h"

namespace trelvin {
namespace {

using test_support::FreshFolder;
using test_support::SolidJpeg;
using test_support::WriteBytes;

std::string CurrentWallpaper() {
  wchar_t path[MAX_PATH] = {};
  SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return Narrow(path);
}

TEST(WinWallpaperTest, ASavedBitmapBecomesTheWallpaperAMissingOneNothing) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const std::string folder = FreshFolder("wallpaper");
  WriteBytes(folder + "red.jpg", SolidJpeg(16, 16, MakeRgb(255, 0, 0)));
  WicPictures pictures;
  auto picture = pictures.LoadPicture(folder + "red.jpg", {});
  ASSERT_NE(picture, nullptr);
  ASSERT_TRUE(pictures.SavePicture(*picture, folder + "wallpaper.bmp"));
  WinWallpaper wallpaper;
  EXPECT_TRUE(wallpaper.SetDeskWallpaper(folder + "wallpaper.bmp"));
  EXPECT_EQ(CurrentWallpaper(), folder + "wallpaper.bmp");
  CoUninitialize();
  // A missing bitmap or a folder is reported as a failure and changes nothing.
  const std::string before = CurrentWallpaper();
  EXPECT_FALSE(wallpaper.SetDeskWallpaper(folder + "none.bmp"));
  EXPECT_FALSE(wallpaper.SetDeskWallpaper(folder));
  EXPECT_FALSE(wallpaper.SetDeskWallpaper(""));
  EXPECT_EQ(CurrentWallpaper(), before);
}

TEST(WinCursorTest, TheCounterGoesDownOnHideAndBackOnShow) {
  WinCursor cursor;
  const int hidden = cursor.ShowCursor(false);
  EXPECT_EQ(cursor.ShowCursor(true), hidden + 1);
}

// A PostScript printer on a file port, the default while the test runs.
class FilePrinterTest : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kName = L"Trelvin Test Printer";

  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    folder_ = FreshFolder("printer");
    output_ = folder_ + "page.ps";
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(L"Wine PostScript Driver");
    driver.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(L"wineps.drv");
    AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
    std::wstring port = Widen(output_);
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kName);
    info.pPortName = port.data();
    info.pDriverName = driver.pName;
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    printer_ = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer_) OpenPrinterW(const_cast<wchar_t*>(kName), &printer_, nullptr);
    ASSERT_NE(printer_, nullptr) << GetLastError();
    ASSERT_TRUE(SetDefaultPrinterW(kName));
  }

  void TearDown() override {
    if (printer_) {
      DeletePrinter(printer_);
      ClosePrinter(printer_);
    }
    CoUninitialize();
  }

  std::string folder_;
  std::string output_;
  HANDLE printer_ = nullptr;
};

TEST_F(FilePrinterTest, APictureIsPrintedAndTheDocumentEnds) {
  WriteBytes(folder_ + "red.jpg", SolidJpeg(32, 20, MakeRgb(255, 0, 0)));
  WicPictures pictures;
  auto picture = pictures.LoadPicture(folder_ + "red.jpg", {});
  ASSERT_NE(picture, nullptr);
  WinPrinter printer;
  ASSERT_TRUE(printer.PageSize().has_value());
  EXPECT_TRUE(printer.PaintPicture(*picture, 1440, 1440));
  EXPECT_TRUE(printer.EndDoc());
  const auto page = test_support::ReadBytes(output_);
  ASSERT_GT(page.size(), 2u);
  EXPECT_EQ(std::string(page.begin(), page.begin() + 2), "%!");
  // A document that was never begun is not reported as sent.
  EXPECT_FALSE(printer.EndDoc());
}

}  // namespace
}  // namespace trelvin
