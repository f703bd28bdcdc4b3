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
#include "window_controls.h"

namespace ndhost {

namespace {

// Windows virtual-key code of a Qt key, or 0 for keys the panel ignores.
uint32_t VirtualKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
    return static_cast<uint32_t>(qtKey);
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 0x70 + (qtKey - Qt::Key_F1);
  if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab) return PANEL_VK_TAB;
  switch (qtKey) {
    case Qt::Key_Space:
      return kKeySpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    case Qt::Key_PageUp:
      return kKeyPageUp;
    case Qt::Key_PageDown:
      return kKeyPageDown;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    default:
      return 0;
  }
}

class PanelWidget : public QWidget {
 public:
  PanelWidget(ModuleHost& host, double framesPerSecond, int zoom, FlightSession& session,
              FgfsFeed* feed)
      : host_(host), zoom_(zoom), session_(session), feed_(feed) {
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
    if (virtualKey == 0) return QWidget::keyPressEvent(event);
    bool shift = event->modifiers() & Qt::ShiftModifier;
    bool ctrl = event->modifiers() & Qt::ControlModifier;
    // A held flight key repeats (the heading goes on turning). Every key
    // reaches the display as well, as in the simulator, where the display
    // polls only its own keys; held, it counts once.
    ApplyFlightKey(virtualKey, shift, ctrl, session_);
    if (!event->isAutoRepeat()) host_.PressKey(virtualKey, shift, ctrl);
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
    // Real time: the aircraft moves by the time that really passed.
    double elapsedSeconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
    clock_.restart();
    if (feed_ != nullptr) {
      // FlightGear flies the aircraft; the session's own flight stands still.
      FollowFeed(*feed_, host_, SteadyClockSeconds());
    } else {
      session_.Advance(elapsedSeconds);
      session_.Publish(host_.Aircraft());
    }
    host_.Frame();
    host_.AdvanceClock(elapsedSeconds);
    const std::string flight = feed_ != nullptr ? feed_->FlightText() : session_.StatusText();
    QString title = "ndhost - Vistrel.ND - " + QString::fromStdString(flight);
    if (title != windowTitle()) setWindowTitle(title);
    update();
  }

  ModuleHost& host_;
  int zoom_;
  FlightSession& session_;
  FgfsFeed* feed_;
  QTimer timer_;
  QElapsedTimer clock_;
};

}  // namespace

std::unique_ptr<QWidget> MakePanelWidget(ModuleHost& host, double framesPerSecond, int zoom,
                                         FlightSession& session, FgfsFeed* feed) {
  return std::make_unique<PanelWidget>(host, framesPerSecond, zoom, session, feed);
}

int RunPanelWindow(ModuleHost& host, double framesPerSecond, int zoom, FlightSession& session,
                   FgfsFeed* feed, int argc, char** argv) {
  QApplication application(argc, argv);
  PanelWidget widget(host, framesPerSecond, zoom, session, feed);
  widget.show();
  return application.exec();
}

}  // namespace ndhost
