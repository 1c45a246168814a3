#pragma once

namespace trelvin {

// The program's names and the author's addresses, kept in one place.
constexpr const char* kSettingsApp = "Trelvin";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kMainCaption = "Trelvin Show 1.4";
constexpr const char* kMessageCaption = "TrelvinShow";
constexpr const char* kCredits = "2002 by Orla Venn";
// The author's pages ship with the program, beside the executable, so both can always be opened.
// The click opens the first; the tooltip shows the second.
constexpr const char* kAboutFolder = "about";
constexpr const char* kCreditsPage = "index.html";
constexpr const char* kCreditsTooltipPage = "author.html";

}  // namespace trelvin
