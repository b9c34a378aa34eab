// TSplash: the borderless picture shown while Norvix starts, with a progress
// strip and a caption line driven by Timer1.
#pragma once

#include "splash_progress.h"

#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>

// The strip the timer paints: a silver bar from the left edge.
class SplashBox : public QWidget {
 public:
  explicit SplashBox(QWidget* parent) : QWidget(parent) {}
  void fillTo(int width);
  int filled() const { return filled_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int filled_ = 0;
};

class TSplash : public QWidget {
  Q_OBJECT

 public:
  // `picture` is the JPEG file or resource drawn over the whole window; a
  // picture that cannot be decoded leaves the window white.
  explicit TSplash(const QString& picture = QStringLiteral(":/norvix/splash.jpg"));

  // One tick of Timer1 (the timer's handler; tests call it directly).
  void Timer1Timer();

  bool running() const { return Timer1->isActive(); }
  bool finished() const { return progress_.finished(); }
  const QImage& picture() const { return picture_; }

  SplashBox* box;
  QLabel* Panel1;
  QTimer* Timer1;

 signals:
  void progressStopped();

 protected:
  void showEvent(QShowEvent* event) override;
  // A click or any key closes the splash at once.
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void centreOnScreen();

  QImage picture_;
  SplashProgress progress_;
  bool announced_ = false;
};
