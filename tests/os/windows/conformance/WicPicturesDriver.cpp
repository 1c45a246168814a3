// The pictures service's conformance driver for WIC: pictures encoded by the system's WIC
// encoders, on a thread in a single-threaded apartment as the program's.
#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>

#include "conformance/PicturesDriver.h"
#include "os/windows/TestFiles.h"
#include "os/windows/desktop/WicPicture.h"
#include "os/windows/desktop/WicPictures.h"

namespace trelvin::conformance {
namespace {

// COM for this thread, for as long as the service that uses it.
struct ComScope {
  ~ComScope() {
    if (ok) CoUninitialize();
  }
  const bool ok = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
};

// COM first, and let go last.
struct ComPictures : ComScope, WicPictures {};

}  // namespace

const bool kMayLackWebp = true;

std::unique_ptr<Pictures> MakePictures() { return std::make_unique<ComPictures>(); }

std::vector<std::uint8_t> Encode(PictureFormat format, int width, int height, Rgb left, Rgb right) {
  using test_support::Format;
  const Format kind = format == PictureFormat::kPng   ? Format::kPng
                      : format == PictureFormat::kBmp ? Format::kBmp
                                                      : Format::kJpeg;
  return test_support::Encoded(kind, width, height, left, right);
}

// The spare byte is clear, as the painter expects.
Bitmap Shown(const Picture& picture) {
  const Bitmap& pixels = dynamic_cast<const WicPicture&>(picture).pixels();
  const auto spare =
      std::find_if(pixels.pixels.begin(), pixels.pixels.end(), [](Rgb p) { return p >> 24 != 0; });
  EXPECT_EQ(spare, pixels.pixels.end()) << "spare byte set: " << std::hex << *spare;
  return pixels;
}

bool Reduced(const Picture& picture) { return dynamic_cast<const WicPicture&>(picture).Reduced(); }

}  // namespace trelvin::conformance
