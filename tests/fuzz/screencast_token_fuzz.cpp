// The screen-cast token file sits in the user's configuration folder, where other programs (and
// a damaged disk) can put anything.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "os/linux/capture/ScreenCastToken.h"

namespace {

std::string Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/trelvin-token-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    return std::string(made);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = Folder() + "/screencast.token";
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  const trelvin::ScreenCastToken token(path);
  const auto loaded = token.Load();
  if (!loaded) return 0;
  // Whatever loads is a token the portal may be given, and saves and loads back unchanged.
  if (!trelvin::ScreenCastToken::Valid(*loaded)) std::abort();
  const trelvin::ScreenCastToken copy(Folder() + "/copy.token");
  if (!copy.Save(*loaded) || copy.Load() != loaded) std::abort();
  return 0;
}
