#include "velloq_splash.h"

#include "terminal_session.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Splash"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFixedSize(420, 240);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TSplash::finishAfter(int ms) { QTimer::singleShot(ms, this, &QWidget::close); }

void TSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(24, 44, 84));
  sky.setColorAt(1, QColor(70, 110, 170));
  p.fillRect(rect(), sky);
  // A few nested frames, the environment's emblem.
  p.setPen(QPen(QColor(230, 200, 90), 3));
  for (int i = 0; i < 3; i++) p.drawRoundedRect(28 + 10 * i, 40 + 10 * i, 90 - 20 * i, 90 - 20 * i, 6, 6);
  p.setPen(Qt::white);
  QFont title = font();
  title.setPointSize(30);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRect(140, 40, 270, 60), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromLatin1(velloq_ui::kVelloqName));
  QFont small = font();
  small.setPointSize(11);
  p.setFont(small);
  p.drawText(QRect(140, 100, 270, 24), Qt::AlignLeft,
             QStringLiteral("Lisp environment with frames"));
  p.drawText(QRect(140, 124, 270, 24), Qt::AlignLeft,
             QStringLiteral("version %1").arg(QString::fromLatin1(velloq_ui::kVelloqVersion)));
  p.setPen(QColor(200, 210, 230));
  p.drawText(QRect(0, height() - 36, width(), 24), Qt::AlignCenter,
             QStringLiteral("starting the interpreter..."));
}

void TSplash::mousePressEvent(QMouseEvent*) { close(); }
