#pragma once

#include <vector>

#include <QObject>
#include <QWidget>

#include "core/runtime/MonitorCovers.h"

namespace trelvin {

class QtFormWindow;

// The covers of the other monitors while `shown` (the slide show) is full screen: this reports
// the screens (added, removed, moved, a new primary) and the covers' keys, clicks and closing to
// the core's MonitorCovers, and puts up the windows it is told to. The covers are children of
// `shown`, so that its modality does not block them; they go with this object, which must go
// before `shown` does.
class QtCoverWindows : public QObject, private CoverWindows {
 public:
  explicit QtCoverWindows(QtFormWindow& shown);
  ~QtCoverWindows() override;
  QtCoverWindows(const QtCoverWindows&) = delete;
  QtCoverWindows& operator=(const QtCoverWindows&) = delete;

 private:
  // Tells the core the screens now and where the shown window is.
  void Follow();
  void PlaceCover(std::size_t index, Rect area, Rgb colour) override;
  void RemoveCovers(std::size_t count) override;

  QtFormWindow& shown_;
  MonitorCovers rules_;
  std::vector<QWidget*> covers_;
};

}  // namespace trelvin
