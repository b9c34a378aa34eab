// The workspace image "velloq.wks": a saved node memory that start-up
// rebuilds the workspace from instead of building it from nothing.
//
// The image is untrusted input.  It is read and checked whole before node
// memory is touched: node numbers must name nodes the image describes, counts
// and lengths must fit in what the file still holds, the nodes of the two
// permanent segments must be what those segments hold, and the structures the
// interpreter relies on without checking (symbols, the object array, closure
// parameter lists and environments, string-stream queues, built-in positions)
// must be well formed.  A refused image leaves node memory as it was.
//
// FRAME nodes: the image keeps no slot data for them, so a frame's slots,
// children and name cannot be rebuilt.  Every workspace holds the built-in
// frames, so refusing such images would refuse them all: the reader drops
// the FRAME nodes instead, every reference to one reads as NIL, and
// start-up builds the built-in hierarchy afresh over the restored symbols.
// The user's frames come back from their databases (RESTORE).  Nodes of kind 8, which no operation
// makes, are read with their slot data and kept without slots.
#pragma once

#include <cstddef>
#include <cstdint>

#include "node.h"

namespace velloq {

enum WorkspaceResult {
  WKS_RESTORED,   // node memory now holds the image's workspace
  WKS_ABSENT,     // no image file could be opened; nothing was touched
  WKS_REFUSED,    // the image is damaged; nothing was touched
  WKS_NO_MEMORY   // the heap refused while rebuilding; node memory is empty again
};

struct WorkspaceLimits {
  // Nodes the image may describe, the permanent segments included.  The
  // default is 4,194,304 (64 MiB of node segments).
  long max_nodes;
  // Slots of all vector-like nodes together (default 16,777,216).
  long max_slots;
  // Bytes of an image file that will be read at all (default 64 MiB).
  size_t max_file_bytes;
};

extern const WorkspaceLimits default_workspace_limits;

// The outcome of a restore.  `message` is a static text: "reading workspace
// file" for a damaged image, one of the "insufficient memory - ..." texts
// when the heap refused, empty otherwise.  `detail` says, for tests and
// logs, which check refused the image.
struct WorkspaceOutcome {
  WorkspaceResult result;
  const char* message;
  const char* detail;
};

// Rebuilds node memory from the image bytes `data`.  On WKS_RESTORED node
// memory (segments, statistics, stacks, environments) holds the workspace,
// a collection has rebuilt the free list, file streams are closed and the
// system symbols are bound again by name; the caller then resets the rest of
// the interpreter's state (contexts, console streams).  On WKS_REFUSED node
// memory is untouched; on WKS_NO_MEMORY it is freshly initialised and empty,
// and the caller builds from nothing in both cases.
WorkspaceOutcome restore_workspace_bytes(const unsigned char* data, size_t size,
                                         const WorkspaceLimits& limits);

// Opens the image file `name` (".wks" appended when the name has no
// extension), reads it without text translation and restores it as above.
// WKS_ABSENT when it cannot be opened; an unreadable or oversized file is
// WKS_REFUSED.
WorkspaceOutcome restore_workspace_file(const char* name, const WorkspaceLimits& limits);

}  // namespace velloq
