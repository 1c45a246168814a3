#pragma once

// A settings window and its slide show on the fakes, with helpers to open a show and act in it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"

namespace trelvin::test_support {

class SlideShowFixture : public ::testing::Test {
 protected:
  SlideShowFixture() {
    main_.AppPath = NativePath("/pics/");
    platform_.files.exe_dir = NativePath("/opt/trelvin");
    main_.hscrShow.SetValue(10);
    main_.chkMusic.SetValue(0);
  }

  // A loadable picture in the picture directory, listed after the earlier ones.
  void AddPicture(const std::string& name, Size size = {320, 200}) {
    platform_.files.Add(NativePath("/pics/") + name);
    platform_.pictures.sizes[NativePath("/pics/") + name] = size;
  }

  // Opens the show through the opener; `script` runs while it is open (the show is then closed
  // unless the script closed it).
  void Open(const std::function<void(FormSlideShow&)>& script = {}) {
    platform_.runtime.modal_script = [&](Form&) {
      if (script) script(show());
    };
    main_.btnShow_Click();
  }

  FormSlideShow& show() { return main_.formSlideShow(); }

  // The slide timer's ticks and the keys, through the ideal runtime's events.
  void Ticks(FormSlideShow& s, int n) {
    for (int i = 0; i < n; ++i) platform_.runtime.Events(s).Tick(s.Timer1);
  }

  void Key(FormSlideShow& s, std::int16_t code, std::int16_t shift = 0) {
    platform_.runtime.Events(s).KeyDown(code, shift);
  }

  // The name of the picture on screen.
  std::string Shown(const FormSlideShow& s) const {
    auto picture = std::dynamic_pointer_cast<const fakes::FakePicture>(s.Image1.CurrentPicture());
    return picture ? picture->Path().substr(picture->Path().rfind(kPathSeparator) + 1) : "";
  }

  fakes::FakePlatform platform_;
  FormMainSlide main_{platform_.services, ""};
};

// Four pictures, "0.jpg" to "3.jpg", and a change at every tick.
class FourPicturesFixture : public SlideShowFixture {
 protected:
  FourPicturesFixture() {
    for (int i = 0; i < 4; ++i) AddPicture(std::to_string(i) + ".jpg");
    main_.hscrShow.SetValue(1);
  }
};

}  // namespace trelvin::test_support
