// What the frame system tells the environment's windows: frames made,
// deleted and re-parented, and the files and frames a database load goes
// through.  The windows implement FrameEvents; the terminal front end keeps
// the frame names with FrameNameList.  Names arrive as Windows-1251 text
// that is only valid during the call.  Listeners must not raise Lisp errors
// or run Lisp.
#pragma once

#include <set>
#include <string>

namespace velloq {

class FrameEvents {
 public:
  virtual ~FrameEvents() = default;
  virtual void frame_added(const char* name) { (void)name; }
  virtual void frame_removed(const char* name) { (void)name; }
  virtual void parent_changed(const char* name, const char* parent) {
    (void)name;
    (void)parent;
  }
  // A database list (or project) file is being loaded.
  virtual void list_loading(const char* list_file) { (void)list_file; }
  // A database file of that list is being loaded.
  virtual void database_loading(const char* file) { (void)file; }
  // A frame record of the file being loaded.
  virtual void database_frame(const char* file, const char* frame) {
    (void)file;
    (void)frame;
  }
};

// Installs the listener (null: none).  The caller keeps it alive.
void set_frame_events(FrameEvents* listener);
// The installed listener, or a listener that does nothing.
FrameEvents& frame_events();

// The names of all frames, in name order.
class FrameNameList : public FrameEvents {
 public:
  void frame_added(const char* name) override;
  void frame_removed(const char* name) override;
  const std::set<std::string>& names() const { return names_; }

 private:
  std::set<std::string> names_;
};

}  // namespace velloq
