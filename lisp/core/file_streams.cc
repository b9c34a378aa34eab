// Checked file streams and the transcript file.
#include "file_streams.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "errors.h"
#include "file_open.h"
#include "streams.h"

namespace velloq {

// The names of the open files.  Few files are open at once (the system
// limits them), so a short array searched from the end will do.
struct OpenFile {
  FILE* fp;
  char* name;
  int error;  // errno of the first failed write, 0 when none failed
};
static OpenFile* open_files = nullptr;
static int open_count = 0, open_cap = 0;

static OpenFile* find_open(FILE* fp) {
  for (int i = open_count - 1; i >= 0; i--)
    if (open_files[i].fp == fp) return &open_files[i];
  return nullptr;
}

static bool remember(FILE* fp, const char* path) {
  if (open_count == open_cap) {
    int cap = open_cap ? open_cap * 2 : 16;
    OpenFile* p = static_cast<OpenFile*>(realloc(open_files, sizeof(OpenFile) * (size_t)cap));
    if (!p) return false;
    open_files = p;
    open_cap = cap;
  }
  char* name = strdup(path);
  if (!name) return false;
  open_files[open_count++] = OpenFile{fp, name, 0};
  return true;
}

static void forget(FILE* fp) {
  OpenFile* f = find_open(fp);
  if (!f) return;
  free(f->name);
  *f = open_files[--open_count];
}

// The message outlives the jump of the error path in this buffer.
static char failure_text[600];

static const char* failure_message(const char* verb, const char* name, int error) {
  snprintf(failure_text, sizeof failure_text, "cannot %s \"%s\": %s", verb, name ? name : "?",
           strerror(error ? error : EIO));
  return failure_text;
}

FILE* open_input_file(const char* path, const char* mode, bool* not_regular) {
  FILE* fp = fileio::fopenRegular(path, mode);
  if (not_regular) *not_regular = !fp && (errno == EINVAL || errno == EISDIR);
  return fp;
}

Node* open_file_stream(const char* path, const char* mode) {
  // The node is made first so that a failing allocation cannot leak a file.
  Node* s = make_file_stream(nullptr);
  FILE* fp = mode[0] == 'r' ? open_input_file(path, mode) : fopen(path, mode);
  if (!fp) return nullptr;
  if (!remember(fp, path)) {
    fclose(fp);
    report_error("insufficient string space");
  }
  s->u.fp = fp;
  return s;
}

void file_stream_put(Node* s, int c) {
  if (fputc(c, s->u.fp) != EOF) return;
  int error = errno;
  OpenFile* f = find_open(s->u.fp);
  if (f && !f->error) f->error = error;
  report_error(failure_message("write", f ? f->name : nullptr, error));
}

// Closes fp; the errno of the failure, or 0 when everything was written.
static int close_checked(FILE* fp, OpenFile* f) {
  int earlier = f ? f->error : 0;
  bool bad = ferror(fp) != 0;
  errno = 0;
  int error = fclose(fp) != 0 ? (errno ? errno : EIO) : 0;
  if (earlier) return earlier;
  if (bad && !error) return EIO;
  return error;
}

void close_file_stream(Node* s) {
  FILE* fp = s->u.fp;
  s->u.fp = nullptr;
  s->num = 0;
  OpenFile* f = find_open(fp);
  int error = close_checked(fp, f);
  if (!error) {
    forget(fp);
    return;
  }
  const char* message = failure_message("write", f ? f->name : nullptr, error);
  forget(fp);
  report_error(message);
}

void release_file_stream(Node* s) {
  FILE* fp = s->u.fp;
  s->u.fp = nullptr;
  OpenFile* f = find_open(fp);
  int error = close_checked(fp, f);
  // Straight to the front end: the console's own node may be released
  // already when the interpreter shuts down.
  if (error && console.write_string) {
    console.write_string(console.context, "error: ", true);
    console.write_string(console.context, failure_message("write", f ? f->name : nullptr, error), true);
    console.write_string(console.context, "\n", true);
  }
  forget(fp);
}

// ---- the transcript ----

static char* transcript_name = nullptr;

static void transcript_failed(int error) {
  FILE* fp = dribble_file;
  dribble_file = nullptr;  // the message below must not reach it again
  fclose(fp);
  console_error_colour = true;
  stream_put_string(console_stream, "error: ");
  stream_put_string(console_stream, failure_message("write transcript", transcript_name, error));
  stream_put_string(console_stream, ", transcript switched off\n");
  console_error_colour = false;
  free(transcript_name);
  transcript_name = nullptr;
}

void transcript_write(const char* text, size_t len) {
  if (!dribble_file) return;
  // Each line is flushed, so that a full disk shows at once, not at the end.
  if (fwrite(text, 1, len, dribble_file) != len ||
      (memchr(text, '\n', len) && fflush(dribble_file) != 0))
    transcript_failed(errno);
}

bool switch_transcript(const char* name) {
  if (dribble_file) {
    FILE* fp = dribble_file;
    dribble_file = nullptr;
    bool bad = ferror(fp) != 0;
    errno = 0;
    if (fclose(fp) != 0 || bad) {
      dribble_file = nullptr;
      int error = errno ? errno : EIO;
      console_error_colour = true;
      stream_put_string(console_stream, "error: ");
      stream_put_string(console_stream, failure_message("write transcript", transcript_name, error));
      stream_put_char(console_stream, '\n');
      console_error_colour = false;
    }
    free(transcript_name);
    transcript_name = nullptr;
  }
  if (!name) return false;
  transcript_name = strdup(name);
  if (!transcript_name) return false;
  dribble_file = fopen(name, "w");
  if (!dribble_file) {
    free(transcript_name);
    transcript_name = nullptr;
  }
  return dribble_file != nullptr;
}

}  // namespace velloq
