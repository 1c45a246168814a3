// The registry settings store on the real registry of the test prefix, under a key of its own.
#include <string>

#include <gtest/gtest.h>

#include "os/windows/WinApi.h"
#include "os/windows/app/WinSettingsStore.h"

namespace trelvin {
namespace {

class WinSettingsStoreTest : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kBase = L"Software\\Trelvin Tests\\Settings store";

  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kBase); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kBase); }

  // Writes a raw value beside the store's own, as another program (or an old version) might.
  void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kBase) + L"\\Trelvin\\Settings";
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  std::optional<std::string> Read(const std::string& key, const std::string& fallback = "dflt") {
    return store_.ReadSetting("Trelvin", "Settings", key, fallback);
  }

  WinSettingsStore store_{kBase};
};

TEST_F(WinSettingsStoreTest, MissingKeyGivesTheDefaultAndWritesRoundTripAsText) {
  EXPECT_EQ(Read("Path"), "dflt");
  ASSERT_TRUE(store_.WriteSetting("Trelvin", "Settings", "Path", "C:\\Bilder – Ü\\"));
  ASSERT_TRUE(store_.WriteSetting("Trelvin", "Settings", "CompressionLevel", "60"));
  EXPECT_EQ(Read("Path"), "C:\\Bilder – Ü\\");
  EXPECT_EQ(Read("CompressionLevel"), "60");
  EXPECT_EQ(Read("Music"), "dflt");  // the section exists now, the value does not
  // An earlier value is replaced, and an empty text is a stored value, not a missing one.
  ASSERT_TRUE(store_.WriteSetting("Trelvin", "Settings", "CompressionLevel", ""));
  EXPECT_EQ(Read("CompressionLevel"), "");

  // The values are REG_SZ, where the original program's runtime kept them.
  wchar_t text[64] = {};
  DWORD bytes = sizeof text;
  DWORD type = 0;
  const std::wstring path = std::wstring(kBase) + L"\\Trelvin\\Settings";
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"Path", RRF_RT_ANY, &type, text, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(text, L"C:\\Bilder – Ü\\");
}

TEST_F(WinSettingsStoreTest, ValuesNotWrittenByTheStoreAreReadSafely) {
  // No terminating NUL stored: the text is still whole.
  const wchar_t unterminated[] = {L'4', L'2'};
  PutRaw(L"ShowInterval", REG_SZ, unterminated, sizeof unterminated);
  EXPECT_EQ(Read("ShowInterval"), "42");
  // Text after an embedded NUL is not part of the setting.
  const wchar_t embedded[] = L"7\0junk";
  PutRaw(L"Random", REG_SZ, embedded, sizeof embedded);
  EXPECT_EQ(Read("Random"), "7");
  // A number stored as a number is no setting text: as if it were missing.
  const DWORD number = 5;
  PutRaw(L"Music", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(Read("Music"), "dflt");
  // An odd byte length, as some programs store text: read whole, never as nothing (the capture
  // folder would become "\"), with the last odd byte as a character of its own.
  const wchar_t path[] = L"C:\\Pics\\";
  PutRaw(L"Path", REG_SZ, path, sizeof path - 1);
  EXPECT_EQ(Read("Path"), "C:\\Pics\\");
  PutRaw(L"CaptureInterval", REG_SZ, L"42", 3);
  EXPECT_EQ(Read("CaptureInterval"), "42");
  // A long value is read whole.
  const std::wstring long_text(5000, L'x');
  PutRaw(L"Path", REG_SZ, long_text.c_str(),
         static_cast<DWORD>((long_text.size() + 1) * sizeof(wchar_t)));
  EXPECT_EQ(Read("Path"), std::string(5000, 'x'));
}

TEST_F(WinSettingsStoreTest, RefusedValuesAndNamesStoreNothing) {
  // A NUL would cut the stored text short; invalid UTF-8 would be changed on the way.
  EXPECT_FALSE(store_.WriteSetting("Trelvin", "Settings", "Path", std::string("C:\\a\0b", 6)));
  EXPECT_FALSE(store_.WriteSetting("Trelvin", "Settings", "Path", "C:\\\xff\xfe"));
  // A "\" in the application or the section would reach into another key; an empty name would
  // be the key's default value or the parent key.
  EXPECT_FALSE(store_.WriteSetting("Trelvin\\..\\Other", "Settings", "Path", "x"));
  EXPECT_FALSE(store_.WriteSetting("Trelvin", "Set\\tings", "Path", "x"));
  EXPECT_FALSE(store_.WriteSetting("Trelvin", "Settings", "", "x"));
  EXPECT_FALSE(store_.WriteSetting("", "Settings", "Path", "x"));
  EXPECT_EQ(Read("Path"), "dflt");
  EXPECT_EQ(store_.ReadSetting("Trelvin", "Set\\tings", "Path", "d"), std::nullopt);
  EXPECT_EQ(store_.ReadSetting("Trelvin", "Settings", "", "d"), std::nullopt);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kBase, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace trelvin
