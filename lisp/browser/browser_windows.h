// BrowserWindows: the frame browser windows of the Lisp environment (the
// hierarchy window, the project window and any number of frame viewers),
// made on first use and kept up to date.  The main window connects its
// notifications with connectTo: it must have the signals endBusy(),
// frameAdded(QString), frameRemoved(QString) and
// parentChanged(QString,QString).  The windows read frames only when the
// runner is not busy, and change them only through run_lisp.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <string>

#include "browser_link.h"

class Dialogs;
class QWidget;
class TFrameView;
class THierarchy;
class Tproj;

namespace velloq_browser {

class BrowserWindows : public QObject, public velloq_windows::BrowserHost {
  Q_OBJECT

 public:
  BrowserWindows(velloq_windows::LispRunner& runner, QWidget* parent_window, Dialogs& dialogs);
  ~BrowserWindows() override;

  void showHierarchy(bool show) override;
  void showProject(bool show) override;
  // A new frame viewer on `frame` (empty: the viewer asks for a name).
  TFrameView* openViewer(const QString& frame);
  void openFrameViewer(const QString& frame) override { openViewer(frame); }
  // Restores the standard database and starts an unnamed project.
  void newProject() override;
  // The project window's open and save commands.
  void loadProject();
  void saveProject();
  bool hierarchyVisible() const override;
  bool projectVisible() const override;
  // Connects the main window's notifications (see above); false when one
  // of the four signals is missing.
  bool connectTo(QObject* main_form) override;

  // The windows, or null before they are first shown (or once closed).
  THierarchy* hierarchy() const;
  Tproj* project() const;
  QList<TFrameView*> frameViewers() const;

 signals:
  // A window was shown or closed by the user (for the menu's ticks).
  void hierarchyVisibilityChanged(bool visible);
  void projectVisibilityChanged(bool visible);

 public slots:
  void endBusy();
  void frameAdded(const QString& name);
  void frameRemoved(const QString& name);
  void parentChanged(const QString& name, const QString& parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  THierarchy* ensureHierarchy();
  Tproj* ensureProject();

  velloq_windows::LispRunner& runner_;
  QWidget* parent_;
  Dialogs& dialogs_;
  QPointer<THierarchy> hierarchy_;
  QPointer<Tproj> project_;
  QList<QPointer<TFrameView>> viewers_;
  // The same windows as plain objects: the event filter sees them while
  // they are being destroyed, when they are no longer of their own class.
  const QObject* hierarchyObject_ = nullptr;
  const QObject* projectObject_ = nullptr;
};

}  // namespace velloq_browser
