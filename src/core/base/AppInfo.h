#pragma once

namespace trelvin {

// The program's names and the author's addresses, kept in one place.
constexpr const char* kSettingsApp = "Trelvin";
constexpr const char* kSettingsSection = "Settings";
#ifndef TRELVIN_VERSION
#error "the build defines TRELVIN_VERSION"
#endif
constexpr const char* kMainCaption = "Trelvin Show " TRELVIN_VERSION;
constexpr const char* kMessageCaption = "TrelvinShow";
constexpr const char* kCredits = "2002 by Orla Venn";
// The author's pages ship with the program, beside the executable, so both can always be opened.
// The click opens the first; the tooltip shows the second.
// Both sit in the "about" folder of the program's directory.
constexpr const char* kAboutFolder = "about";
constexpr const char* kCreditsPage = "index.html";
constexpr const char* kCreditsTooltipPage = "author.html";

}  // namespace trelvin
