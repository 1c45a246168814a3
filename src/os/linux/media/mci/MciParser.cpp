#include "os/linux/media/mci/MciParser.h"

#include "core/base/AsciiCase.h"
#include "os/linux/media/mci/MciErrors.h"

namespace trelvin::mci {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::size_t SkipBlanks(const std::string& text, std::size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

std::size_t WordEnd(const std::string& text, std::size_t at) {
  while (at < text.size() && !IsBlank(text[at])) ++at;
  return at;
}

}  // namespace

std::uint32_t ParseCommand(const std::string& text, MciCommand& command) {
  command = MciCommand{};
  std::size_t at = SkipBlanks(text, 0);
  std::size_t end = WordEnd(text, at);
  if (at == end) return kErrMissingCommandString;
  for (std::size_t i = at; i < end; ++i) command.verb += AsciiLower(text[i]);

  at = SkipBlanks(text, end);
  if (at < text.size() && text[at] == '"') {
    const std::size_t last_quote = text.rfind('"');
    if (last_quote == at) return kErrNoClosingQuote;
    command.device = text.substr(at + 1, last_quote - at - 1);
    command.has_device = true;
    at = last_quote + 1;
  } else if (at < text.size()) {
    end = WordEnd(text, at);
    command.device = text.substr(at, end - at);
    command.has_device = true;
    at = end;
  }

  for (at = SkipBlanks(text, at); at < text.size(); at = SkipBlanks(text, end)) {
    end = WordEnd(text, at);
    command.words.push_back(text.substr(at, end - at));
  }
  return kOk;
}

}  // namespace trelvin::mci
