// TSplash: layout, picture and the progress timer.
#include "splash_window.h"

#include "jpeg_image.h"
#include "qt_text.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {
constexpr QColor kSilver(0xC0, 0xC0, 0xC0);
constexpr int kWidth = 418, kHeight = 295;
constexpr int kTimerMs = 400;
}  // namespace

void SplashBox::fillTo(int width) {
  filled_ = width;
  repaint();
}

void SplashBox::paintEvent(QPaintEvent*) {
  if (filled_ <= 0) return;
  QPainter p(this);
  p.setPen(kSilver);
  p.setBrush(kSilver);
  p.drawRect(0, 0, filled_ - 1, height() - 1);
}

TSplash::TSplash(const QString& picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      box(new SplashBox(this)),
      Panel1(new QLabel(this)),
      Timer1(new QTimer(this)),
      picture_(loadJpeg(picture)) {
  setObjectName(QStringLiteral("Splash"));
  setFixedSize(kWidth, kHeight);
  setCursor(Qt::WaitCursor);
  setFocusPolicy(Qt::StrongFocus);  // so that a key reaches it
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setAutoFillBackground(true);
  box->setObjectName(QStringLiteral("box"));
  box->setGeometry(67, 212, 280, 14);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(70, 191, 280, 17);
  Panel1->setFont(QFont(QStringLiteral("Arial")));
  Panel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kTimerMs);
  connect(Timer1, &QTimer::timeout, this, &TSplash::Timer1Timer);
  centreOnScreen();
}

void TSplash::centreOnScreen() {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

void TSplash::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!progress_.finished()) Timer1->start();
}

void TSplash::mousePressEvent(QMouseEvent*) { hide(); }

void TSplash::keyPressEvent(QKeyEvent*) { hide(); }

void TSplash::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter p(this);
  p.drawImage(rect(), picture_);
}

void TSplash::Timer1Timer() {
  SplashTick t = progress_.tick();
  if (t.stop) {
    Timer1->stop();
    if (!announced_) {
      announced_ = true;
      emit progressStopped();
    }
    return;
  }
  if (t.stageText) Panel1->setText(cp1251::toQString(t.stageText));
  if (t.paint) box->fillTo(t.width);
}
