// BrowserWindows: making, showing and updating the frame browser windows.
#include "browser_windows.h"

#include <QEvent>

#include "frame_view.h"
#include "hierarchy_window.h"
#include "project_window.h"
#include "qt_text.h"

namespace velloq_browser {

BrowserWindows::BrowserWindows(velloq_windows::LispRunner& runner, QWidget* parent_window,
                               Dialogs& dialogs)
    : runner_(runner), parent_(parent_window), dialogs_(dialogs) {}

BrowserWindows::~BrowserWindows() {
  // Windows without a parent window are ours to delete.
  if (!parent_) {
    delete hierarchy_.data();
    delete project_.data();
    for (const QPointer<TFrameView>& v : viewers_) delete v.data();
  }
}

THierarchy* BrowserWindows::ensureHierarchy() {
  if (!hierarchy_) {
    hierarchy_ = new THierarchy(runner_, dialogs_, parent_);
    hierarchy_->installEventFilter(this);
    hierarchyObject_ = hierarchy_.data();
    connect(hierarchy_, &THierarchy::openFrame, this,
            [this](const QString& name) { openFrameViewer(name); });
  }
  return hierarchy_;
}

Tproj* BrowserWindows::ensureProject() {
  if (!project_) {
    project_ = new Tproj(runner_, dialogs_, parent_);
    project_->installEventFilter(this);
    projectObject_ = project_.data();
  }
  return project_;
}

void BrowserWindows::showHierarchy(bool show) {
  if (show) {
    THierarchy* h = ensureHierarchy();
    if (!h->isVisible()) h->refresh();
    h->show();
  } else if (hierarchy_) {
    hierarchy_->hide();
  }
}

void BrowserWindows::showProject(bool show) {
  if (show) {
    Tproj* p = ensureProject();
    if (!p->isVisible()) p->refresh();
    p->show();
  } else if (project_) {
    project_->hide();
  }
}

TFrameView* BrowserWindows::openViewer(const QString& frame) {
  auto* view = new TFrameView(runner_, dialogs_, cp1251::fromQString(frame), parent_);
  connect(view, &TFrameView::openFrame, this,
          [this](const QString& name) { openFrameViewer(name); });
  viewers_.append(view);
  view->show();
  return view;
}

void BrowserWindows::newProject() { ensureProject()->NewProjectClick(); }
void BrowserWindows::loadProject() { ensureProject()->LoadProjectClick(); }
void BrowserWindows::saveProject() { ensureProject()->SaveProjectClick(); }

THierarchy* BrowserWindows::hierarchy() const { return hierarchy_.data(); }
Tproj* BrowserWindows::project() const { return project_.data(); }

bool BrowserWindows::hierarchyVisible() const { return hierarchy_ && hierarchy_->isVisible(); }
bool BrowserWindows::projectVisible() const { return project_ && project_->isVisible(); }

QList<TFrameView*> BrowserWindows::frameViewers() const {
  QList<TFrameView*> open;
  for (const QPointer<TFrameView>& v : viewers_)
    if (v) open.append(v.data());
  return open;
}

bool BrowserWindows::connectTo(QObject* main_form) {
  bool ok = connect(main_form, SIGNAL(endBusy()), this, SLOT(endBusy()));
  ok = connect(main_form, SIGNAL(frameAdded(QString)), this, SLOT(frameAdded(QString))) && ok;
  ok = connect(main_form, SIGNAL(frameRemoved(QString)), this, SLOT(frameRemoved(QString))) && ok;
  ok = connect(main_form, SIGNAL(parentChanged(QString, QString)), this,
               SLOT(parentChanged(QString, QString))) && ok;
  return ok;
}

void BrowserWindows::endBusy() {
  viewers_.removeAll(nullptr);
  if (hierarchy_ && hierarchy_->isVisible()) hierarchy_->refresh();
  if (project_ && project_->isVisible()) project_->refresh();
  for (const QPointer<TFrameView>& v : viewers_) v->refresh();
}

void BrowserWindows::frameAdded(const QString& name) {
  if (hierarchy_) hierarchy_->frameAdded(name);
}

void BrowserWindows::frameRemoved(const QString& name) {
  if (hierarchy_) hierarchy_->frameRemoved(name);
}

void BrowserWindows::parentChanged(const QString& name, const QString& parent) {
  if (hierarchy_) hierarchy_->parentChanged(name, parent);
}

// Tells the main window when the user closes a window or it is shown.
bool BrowserWindows::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
    const bool visible = event->type() == QEvent::Show;
    if (watched == hierarchyObject_) emit hierarchyVisibilityChanged(visible);
    else if (watched == projectObject_) emit projectVisibilityChanged(visible);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace velloq_browser
