// TExplainForm: the "Объяснение" window of a finished consultation.  It only
// shows an explanation built by the engine's side (explanation.h): "how",
// the result tree with the answers that confirmed each node, and "why not",
// a list of the target frame's samples that were not chosen with the
// reason for the one selected.
#pragma once

#include "explanation.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <string>
#include <vector>

class TExplainForm : public QDialog {
  Q_OBJECT

 public:
  // Fills the window from `explanation`; the window keeps copies of the
  // texts, so the explanation need not outlive it.
  explicit TExplainForm(const norvix::Explanation& explanation, QWidget* parent = nullptr);

  // Shows the reason of the sample selected in Samples.
  void SamplesChange();
  // Closes the window with the result OK.
  void Button1Click();

  QTabWidget* Pages;
  QTreeWidget* How;      // one item a node, its reasons as children
  QListWidget* Samples;  // the samples not chosen, in candidate order
  QPlainTextEdit* Reason;
  QPushButton* Button1;

 private:
  QWidget* buildHowPage(const norvix::Explanation& explanation);
  QWidget* buildWhyNotPage(const norvix::Explanation& explanation);

  std::vector<std::string> reasons_;  // parallel to Samples
};
