// Reading frames for the browser windows: plain copies of what a frame
// holds (name, parents, children, own and inherited slots with printed
// values and methods), so that windows never keep node pointers.
//
// Every function here reads node memory and must not be called while an
// evaluation runs.  None raises, runs Lisp or changes a frame; printing
// goes through the interpreter's printer (as PRIN1 prints) with its
// output cut at kMaxPrintedBytes.  Names are Windows-1251.
#pragma once

#include <string>
#include <vector>

namespace velloq {

// A slot as the frame viewer shows it.
struct InspectedSlot {
  std::string name;
  std::string source;        // the frame it belongs to (the inspected one for own slots)
  bool inherited = false;
  bool inheritance = false;  // the frame's inheritance slot (IS)
  std::string value;         // the value as PRIN1 prints it
  std::string value_form;    // Lisp text that evaluates to the value, for editing
  bool has_method = false;
  std::string parameters;    // the method's lambda list as printed, "()" for none
  std::string body;          // the method's body forms, one printed form a line
};

struct InspectedFrame {
  std::string name;
  std::vector<std::string> parents;
  std::vector<std::string> children;   // sorted by name
  std::vector<InspectedSlot> slot_list;  // own slots in slot order, then inherited ones
  bool system = false;                 // a frame of the built-in hierarchy
};

// The frames of one database file, in walk order.
struct DatabaseFrames {
  std::string file;
  std::vector<std::string> frames;
};

enum { kMaxPrintedBytes = 16384 };

// The frame named `name` into *out; false when no frame has that name.
bool inspect_frame(const std::string& name, InspectedFrame* out);
// True when the symbol `name` exists and its value is a frame.
bool frame_exists(const std::string& name);
// True for a frame of the built-in hierarchy (its name is a system
// symbol), which the browser neither deletes nor re-parents.
bool frame_is_system(const std::string& name);
// The names of the frame's children, sorted by name (Cyrillic letters
// fold to upper case); empty for no frame.
std::vector<std::string> frame_child_names(const std::string& name);
// True when the frame has at least one child.
bool frame_has_children(const std::string& name);
// The frame and those descendants that have no parent outside it, deepest
// first: what deleting the frame from the hierarchy takes with it.  Empty
// for no frame.
std::vector<std::string> frame_subtree_for_deletion(const std::string& name);
// The frames below NODE that SAVE would write, grouped by database file in
// the order the files are first met.
std::vector<DatabaseFrames> project_database_frames();
// The database list file SAVE and RESTORE use (databases.h, which Qt
// code cannot include: Qt's `slots` keyword), for the project window.
std::string current_list_file();
void set_current_list_file(const std::string& name);
// x as PRIN1 prints it (exposed for tests of the cut); see above.
std::string printed_text_of_symbol_value(const std::string& symbol);

}  // namespace velloq
