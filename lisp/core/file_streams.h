// File streams and the transcript file: every write and close is checked,
// and a failure names the file and the system's reason.  A file stream
// keeps the name it was opened with (beside the node, which has no room
// for it) until its file is closed.
#pragma once

#include <cstdio>

#include "node.h"

namespace velloq {

// Opens path (fopen's mode) as a FILE-STREAM; NIL when the file cannot be
// opened.  Allocates; path may not point into a node's string.
Node* open_file_stream(const char* path, const char* mode);
// Writes one byte to an open file stream that is not the console.
// Raises "cannot write "NAME": REASON" when the system refuses it.
void file_stream_put(Node* s, int c);
// Closes the file of an open file stream (the node stays, closed).
// Raises as file_stream_put when buffered text could not be written or
// the close failed: the file is closed either way.
void close_file_stream(Node* s);
// Closes the file of a stream being collected; a failure cannot be raised
// there and is written to the console.  Never raises.
// Opens a file for reading ("r" or "rb") without ever blocking: a named
// pipe, a device or a folder is refused (*not_regular set) as a file that
// cannot be opened is.  Null on failure.  Never raises.
FILE* open_input_file(const char* path, const char* mode, bool* not_regular = nullptr);

void release_file_stream(Node* s);

// The transcript (DRIBBLE): every character written to the console is
// copied to it, a line at a time.  A transcript that fails is switched off
// with a message on the console.
// Closes the transcript, if any (a failure is reported on the console),
// and with a name opens that file as the new one; true when one is open.
bool switch_transcript(const char* name);
// Copies console text to the transcript.  Never raises.
void transcript_write(const char* text, size_t len);

}  // namespace velloq
