#include "os/linux/desktop/QtPictures.h"

#include <sys/stat.h>

#include <functional>
#include <utility>

#include <qguiapplication_platform.h>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>

// After Qt's headers: Xlib defines names they use.
#include <X11/Xlib.h>

#include "atomicfile/TempFile.h"
#include "os/common/ReducedScale.h"

namespace trelvin {

namespace {

bool FitsTheCap(QSize size) {
  return size.isValid() && PictureDecoder::FitsTheCap(size.width(), size.height());
}

bool Known(const QByteArray& format) {
  return format == "jpeg" || format == "gif" || format == "png" || format == "bmp" ||
         format == "webp";
}

// Decodes the file, reduced for a stretched `display` size (empty: at its own size), turned
// upright by its EXIF orientation; a null image on any failure. `natural_out` is the upright size.
QImage DecodeImage(const std::string& path, Size display, Size* natural_out) {
  // Our own cap decides; Qt's smaller default would refuse large pictures below it. Set once,
  // before any reader runs, as the look-ahead's worker reads too.
  static const bool limited = [] {
    QImageReader::setAllocationLimit(static_cast<int>(PictureDecoder::kMaxDecodedBytes >> 20) + 1);
    return true;
  }();
  (void)limited;
  QImageReader reader(QString::fromStdString(path));
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  const QByteArray format = reader.format();
  if (!Known(format)) return {};
  // The stored size; the scaled size is asked for in the stored orientation too.
  const QSize stored = reader.size();
  if (!FitsTheCap(stored)) return {};
  const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
  if (format == "jpeg" && display.width > 0 && display.height > 0) {
    const Size cover = turned ? Size{display.height, display.width} : display;
    const Size decode = ReducedJpegSize({stored.width(), stored.height()}, cover);
    if (decode.width != stored.width() || decode.height != stored.height()) {
      reader.setScaledSize(QSize(decode.width, decode.height));
    }
  }
  QImage image = reader.read();
  if (image.isNull()) return {};
  // Qt keeps a GIF's palette; the painter draws 32-bit pixels without converting on every paint.
  if (image.format() != QImage::Format_RGB32 &&
      image.format() != QImage::Format_ARGB32_Premultiplied) {
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
  }
  *natural_out =
      turned ? Size{stored.height(), stored.width()} : Size{stored.width(), stored.height()};
  return image;
}

// Scaled to `display` once, with the picture control's own bilinear filter, so that the control
// then copies it pixel for pixel.
QImage ScaledForDisplay(QImage image, Size display) {
  if (display.width <= 0 || display.height <= 0 ||
      image.size() == QSize(display.width, display.height)) {
    return image;
  }
  QImage scaled(display.width, display.height, image.format());
  QPainter painter(&scaled);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(0, 0, display.width, display.height), image);
  painter.end();
  return scaled;
}

class QtPictureDecoder : public PictureDecoder {
 public:
  std::shared_ptr<const Picture> Decode(const std::string& path, Size display, Fit fit) override {
    Size natural;
    QImage image = DecodeImage(path, display, &natural);
    if (image.isNull()) return nullptr;
    if (fit == Fit::kExact) image = ScaledForDisplay(std::move(image), display);
    return std::make_shared<QtPicture>(std::move(image), natural, path);
  }

  std::optional<FileStamp> Stamp(const std::string& path) override {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{
        static_cast<long long>(info.st_size),
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
  }
};

// A call delivered as a posted event. Qt posts a window's paint with low priority; the call's is
// lower still, so it comes after the paint of a change and its flush to the display server.
class CallEvent : public QEvent {
 public:
  explicit CallEvent(std::function<void()> call) : QEvent(Kind()), call_(std::move(call)) {}
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }
  void Run() const { call_(); }

 private:
  std::function<void()> call_;
};

// Returns once the X server has handled what the program sent it, the frame just painted
// included; at once elsewhere (Wayland, no display).
void WaitForTheDisplayServer() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (x11 && x11->display()) XSync(x11->display(), False);
}

class CallReceiver : public QObject {
 protected:
  bool event(QEvent* event) override {
    if (event->type() != CallEvent::Kind()) return QObject::event(event);
    static_cast<CallEvent*>(event)->Run();
    return true;
  }
};

}  // namespace

QtPictures::QtPictures()
    : PictureLookAhead(std::make_unique<QtPictureDecoder>(), StandardThread,
                       [this](std::function<void()> then) {
                         // Queued before it is delivered; a receiver destroyed first drops it.
                         // The X server's copy of the frame is the last step of the drawing.
                         auto call = [then = std::move(then)] {
                           WaitForTheDisplayServer();
                           then();
                         };
                         QCoreApplication::postEvent(after_draw_.get(),
                                                     new CallEvent(std::move(call)),
                                                     Qt::LowEventPriority - 1);
                       }),
      after_draw_(std::make_unique<CallReceiver>()) {}

QtPictures::~QtPictures() = default;

QImage QtPictures::FullImage(const QtPicture& picture) {
  if (!picture.Reduced()) return picture.image();
  QtPictureDecoder decoder;
  if (auto whole = DecodeWhole(decoder, picture.source(), picture.PixelSize())) {
    return static_cast<const QtPicture&>(*whole).image();
  }
  // The file changed or went away since: the held pixels, brought to the picture's size.
  const Size size = picture.PixelSize();
  return picture.image().scaled(size.width, size.height, Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
}

bool QtPictures::SavePicture(const Picture& picture, const std::string& path) {
  const auto* qt_picture = dynamic_cast<const QtPicture*>(&picture);
  if (!qt_picture) return false;
  const QImage image = FullImage(*qt_picture);
  if (image.isNull()) return false;
  // 24 bits per pixel, written beside the old file and renamed over it by the writer the file
  // service uses, whose temporary name stays short for a target with the longest name.
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !rgb.save(&buffer, "BMP")) return false;
  TempFile file(path);
  return file.ok() && file.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) &&
         file.Commit();
}

}  // namespace trelvin
