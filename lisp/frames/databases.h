// Frame databases: which file a frame is saved to (the DATABASE slots
// walking down from NODE), the record printer, the value reader and the
// loader, and the list file naming the databases.
#pragma once

#include <string>

#include "node.h"

namespace velloq {

// The list file SAVE writes and RESTORE reads ("databases.dat" unless the
// front end sets its STARTUP_DB setting).  name is copied.
void set_database_list_file(const char* name);
const char* database_list_file();

// ---- database_printer.cc (no allocation, never raises) ----
// Appends the printed form of x (NIL, lists, 'symbols, self-bound names,
// numbers, escaped strings, #(vectors), frame names, closure bodies).
void print_db_value(std::string& out, Node* x);
// Appends the record of frame f: #BEGIN, #EXTERN, slot lines, #END.
void print_db_record(std::string& out, Node* f);

// ---- value_reader.cc (never raises for bad text; allocates) ----
// Reads every form of text[0..len) into a list in *out; false (with
// *message set) when some form cannot be read.  A database value line
// holds one form; a method body any number.
bool read_db_forms(const char* text, long len, Node** out, const char** message);

// ---- database_loader.cc ----
// Loads one database file: frames, slot values and methods.  A line that
// is no record line raises "parsing frame" with the frame's name, which
// stops this file; what was loaded before stays.  False when the file
// cannot be opened.
bool load_database_file(const char* path);
// Loads every database the list file names, in order; names that are
// empty or cannot be opened are skipped.  Each file's error is printed and
// ends only that file.
void load_database_list(const char* list_file);

// ---- database_save.cc ----
// Writes every frame below NODE that has a database to its file (each
// file replaced atomically), then the list file.  A file that cannot be
// written is reported and keeps its previous contents; the others are
// written.  Prints "; saving database" and "; N frames saved".
void save_all_databases();
// Whether the last save_all_databases could not write some file (the
// windows ask before they exit).  Never raises.
bool database_save_failed();
// The DATABASE strings of the frames below NODE, in walk order.
Node* list_databases();

}  // namespace velloq
