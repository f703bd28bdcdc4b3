#include "shell/skat/loading_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "shell/skat/status_icons.h"

namespace {

constexpr int kWidthPx = 480;
constexpr int kArtHeightPx = 190;
constexpr int kHeightPx = 262;

}  // namespace

LoadingWindow::LoadingWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      caption_(new QLabel(QStringLiteral("Loading"), this)),
      bar_(new QProgressBar(this)) {
  setWindowTitle(QStringLiteral("Loading"));
  setFixedSize(kWidthPx, kHeightPx);
  setAttribute(Qt::WA_OpaquePaintEvent);

  caption_->setObjectName("caption");
  // Colour and weight through the palette and the font: a style sheet
  // would make the window polish itself through Qt's style-sheet engine,
  // which cost more than the rest of the window.
  QPalette captionColours = caption_->palette();
  captionColours.setColor(QPalette::WindowText, QColor(0xdf, 0xe7, 0xf2));
  caption_->setPalette(captionColours);
  QFont captionFont = caption_->font();
  captionFont.setBold(true);
  caption_->setFont(captionFont);
  bar_->setObjectName("progress");
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(true);
  bar_->setAccessibleName(QStringLiteral("Loading"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, kArtHeightPx + 6, 18, 16);
  layout->setSpacing(6);
  layout->addWidget(caption_);
  layout->addWidget(bar_);
}

void LoadingWindow::setProgress(int percent) {
  if (QThread::currentThread() != thread()) {
    QMetaObject::invokeMethod(
        this, [this, percent] { setProgress(percent); }, Qt::QueuedConnection);
    return;
  }
  // The load runs on a worker, so the event loop paints the bar; steps
  // that come together are painted once.
  bar_->setValue(std::clamp(percent, 0, 100));
}

int LoadingWindow::progress() const {
  return bar_->value();
}

void LoadingWindow::finishAfterMinimum(std::function<void()> done) {
  if (!shownFor_.isValid()) shownFor_.start();
  const qint64 remainingMs = minimumShowTime_.count() - shownFor_.elapsed();
  if (remainingMs > 0) {
    // Timers may fire a millisecond early; the minimum is a promise, so the
    // check is made again when it fires.
    QTimer::singleShot(
        std::chrono::milliseconds(remainingMs), Qt::PreciseTimer, this,
        [this, done = std::move(done)]() mutable { finishAfterMinimum(std::move(done)); });
    return;
  }
  close();
  if (done) done();
}

void LoadingWindow::centreOnScreen() {
  QScreen* current = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!current) return;
  QRect placed(QPoint(), size());
  placed.moveCenter(current->availableGeometry().center());
  move(placed.topLeft());
}

void LoadingWindow::showEvent(QShowEvent* event) {
  if (!shownFor_.isValid()) shownFor_.start();
  if (!testAttribute(Qt::WA_Moved)) centreOnScreen();
  QWidget::showEvent(event);
}

// The splash is drawn once, into a picture of the window's size: the bar
// repaints itself over it at every step of the load, and each such repaint
// paints the window behind the bar again.
void LoadingWindow::paintEvent(QPaintEvent* event) {
  const qreal pixelRatio = devicePixelRatioF();
  if (art_.isNull() || art_.devicePixelRatio() != pixelRatio) {
    art_ = QPixmap(size() * pixelRatio);
    art_.setDevicePixelRatio(pixelRatio);
    QPainter artPainter(&art_);
    paintArt(artPainter);
  }
  QPainter p(this);
  const QRect dirty = event->rect();
  p.drawPixmap(dirty, art_,
               QRectF(QPointF(dirty.topLeft()) * pixelRatio, QSizeF(dirty.size()) * pixelRatio));
}

// The splash: a navigation display face at the left, the program's name and
// what it does at the right, over a night-sky gradient.
void LoadingWindow::paintArt(QPainter& p) const {
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(0x0c, 0x1a, 0x36));
  sky.setColorAt(0.72, QColor(0x16, 0x31, 0x5c));
  sky.setColorAt(1, QColor(0x0c, 0x1a, 0x36));
  p.fillRect(rect(), sky);
  p.setPen(QPen(QColor(0x5a, 0x78, 0xa8), 1));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  // A range arc of the display across the art, as on the instrument.
  p.setPen(QPen(QColor(0x4f, 0xd8, 0xff, 90), 1.5, Qt::DashLine));
  p.drawArc(QRectF(-120, 40, 520, 400), 40 * 16, 100 * 16);

  p.drawPixmap(28, 34, ApplicationIconPixmap(128));

  QFont title = font();
  title.setPixelSize(40);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(182, 40, 290, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Skyatlas"));

  QFont version = font();
  version.setPixelSize(16);
  p.setFont(version);
  p.setPen(QColor(0xff, 0xd2, 0x3f));
  p.drawText(QRect(184, 90, 290, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("v1.3"));

  QFont line = font();
  line.setPixelSize(13);
  p.setFont(line);
  p.setPen(QColor(0xc8, 0xd6, 0xea));
  p.drawText(QRect(184, 118, 290, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             QStringLiteral("Radio-navaid database and route planner\nfor the navigation display"));

  p.setPen(QPen(QColor(0x5a, 0x78, 0xa8), 1));
  p.drawLine(QPointF(18, kArtHeightPx - 0.5), QPointF(width() - 18, kArtHeightPx - 0.5));
}
