// What the main window needs of the knowledge base editor.  The editor
// window implements it; until one is attached the main window goes on
// without it.
#pragma once

class EditorLink {
 public:
  virtual ~EditorLink() = default;

  // Forget every reference into the knowledge base that is about to be
  // replaced (the selection of samples, the pages' contents).
  virtual void DropSelection() = 0;

  // Fill every page from the current knowledge base.
  virtual void RefreshEditor() = 0;

  // Show the editor modally (the Edit command).
  virtual void ShowEditor() = 0;
};
