// A full-screen window of four known colours, one to a quarter, for the Wayland capture test:
// red top left, green top right, blue bottom left, yellow bottom right. Prints "shown" once it
// has been painted.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace {

class Quarters : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int w = width() / 2;
    const int h = height() / 2;
    painter.fillRect(0, 0, w, h, QColor(220, 30, 30));
    painter.fillRect(w, 0, width() - w, h, QColor(30, 200, 40));
    painter.fillRect(0, h, w, height() - h, QColor(30, 40, 220));
    painter.fillRect(w, h, width() - w, height() - h, QColor(230, 220, 30));
    if (!painted_) {
      painted_ = true;
      std::printf("shown\n");
      std::fflush(stdout);
    }
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  Quarters window;
  window.setWindowTitle("Trelvin colour quarters");
  window.showFullScreen();
  return app.exec();
}
