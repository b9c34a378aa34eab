// TSplash: the picture shown while the environment starts.  It is drawn
// here, not loaded, and goes when clicked or when its time is up.
#pragma once

#include <QWidget>

class TSplash : public QWidget {
  Q_OBJECT

 public:
  explicit TSplash(QWidget* parent = nullptr);
  // Closes the splash after `ms` milliseconds (at once when 0).
  void finishAfter(int ms);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};
