#include "panel_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "aircraft.h"
#include "fgfs_panel_strip.h"
#include "panel_picture.h"

namespace ndhost {

namespace {

// Windows virtual-key code of a Qt key, or 0 for keys the panel ignores.
uint32_t VirtualKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
    return static_cast<uint32_t>(qtKey);
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 0x70 + (qtKey - Qt::Key_F1);
  if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab) return PANEL_VK_TAB;
  if (qtKey == Qt::Key_Space) return 0x20;
  return 0;
}

class PanelWidget : public QWidget {
 public:
  PanelWidget(ModuleHost& host, double framesPerSecond, int zoom,
              std::optional<RouteFlight>& flight, FgfsFeed* feed)
      : host_(host), zoom_(zoom), flight_(flight), feed_(feed) {
    setWindowTitle("ndhost - Vistrel.ND");
    setFocusPolicy(Qt::StrongFocus);
    PanelPicture picture = ComposePanelWithFeed(host_, zoom_, feed_, SteadyClockSeconds());
    setFixedSize(picture.rgb.empty() ? 256 * zoom_ : picture.widthPx,
                 picture.rgb.empty() ? 256 * zoom_ : picture.heightPx);
    clock_.start();
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start(static_cast<int>(1000.0 / framesPerSecond));
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    uint32_t virtualKey = VirtualKeyOf(event->key());
    if (virtualKey == 0 || event->isAutoRepeat()) return QWidget::keyPressEvent(event);
    host_.PressKey(virtualKey, event->modifiers() & Qt::ShiftModifier,
                   event->modifiers() & Qt::ControlModifier);
  }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    PanelPicture picture = ComposePanelWithFeed(host_, zoom_, feed_, SteadyClockSeconds());
    if (picture.rgb.empty()) return;
    QImage image(reinterpret_cast<const uchar*>(picture.rgb.data()), picture.widthPx,
                 picture.heightPx, QImage::Format_RGB32);
    painter.drawImage(0, 0, image);
  }

 private:
  void Tick() {
    double elapsedSeconds = clock_.restart() / 1000.0;
    if (feed_ != nullptr) FollowFeed(*feed_, host_, SteadyClockSeconds());
    host_.Frame();
    host_.AdvanceClock(elapsedSeconds);
    if (flight_) flight_->Advance(host_.Aircraft(), elapsedSeconds);
    update();
  }

  ModuleHost& host_;
  int zoom_;
  std::optional<RouteFlight>& flight_;
  FgfsFeed* feed_;
  QTimer timer_;
  QElapsedTimer clock_;
};

}  // namespace

int RunPanelWindow(ModuleHost& host, double framesPerSecond, int zoom,
                   std::optional<RouteFlight>& flight, FgfsFeed* feed, int argc, char** argv) {
  QApplication application(argc, argv);
  PanelWidget widget(host, framesPerSecond, zoom, flight, feed);
  widget.show();
  return application.exec();
}

}  // namespace ndhost
