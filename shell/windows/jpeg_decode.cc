// decodeJpeg: libjpeg with an error manager that returns instead of exiting.
#include "jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Damaged data can make libjpeg work very long: a progressive picture with
// thousands of scans, or one warning after another.  Beyond these limits the
// picture is refused.
constexpr int kMaxScans = 500;
constexpr long kMaxWarnings = 100;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// Ends the decoding with `text` as its error.
[[noreturn]] void giveUp(j_common_ptr info, const char* text) {
  auto* mgr = reinterpret_cast<ErrorManager*>(info->err);
  std::snprintf(mgr->message, sizeof mgr->message, "%s", text);
  std::longjmp(mgr->jump, 1);
}

// libjpeg calls this on a fatal error; the default would exit the program.
void onError(j_common_ptr info) {
  auto* mgr = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, mgr->message);
  std::longjmp(mgr->jump, 1);
}

// Warnings (for instance a truncated file) are not printed; the picture
// decoded so far is used, unless warnings never stop.
void onMessage(j_common_ptr info, int level) {
  if (level < 0 && ++info->err->num_warnings > kMaxWarnings)
    giveUp(info, "JPEG data too damaged");
}

void onProgress(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxScans) giveUp(info, "JPEG picture has too many scans");
}

// Reads the scan lines into `out`; runs inside the setjmp guard.
void readLines(jpeg_decompress_struct& info, RgbPicture& out) {
  const std::size_t stride = static_cast<std::size_t>(out.width) * 3;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.rgb.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
}

}  // namespace

bool decodeJpeg(std::string_view bytes, RgbPicture& out, std::string* error, long maxPixels) {
  out = RgbPicture{};
  if (bytes.empty()) {
    if (error) *error = "empty JPEG data";
    return false;
  }
  jpeg_decompress_struct info;
  ErrorManager mgr;
  info.err = jpeg_std_error(&mgr.pub);
  mgr.pub.error_exit = onError;
  mgr.pub.emit_message = onMessage;
  mgr.message[0] = '\0';
  jpeg_progress_mgr progress{};
  progress.progress_monitor = onProgress;
  // Every object that must survive longjmp lives outside this frame's locals
  // changed after setjmp: `info`, `mgr` and `out` are set up before it.
  if (setjmp(mgr.jump)) {
    jpeg_destroy_decompress(&info);
    if (error) *error = mgr.message;
    out = RgbPicture{};
    return false;
  }
  jpeg_create_decompress(&info);
  info.progress = &progress;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&info);
  if (static_cast<long>(info.output_width) * static_cast<long>(info.output_height) > maxPixels) {
    jpeg_destroy_decompress(&info);
    if (error) *error = "JPEG picture too large";
    return false;
  }
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.rgb.assign(static_cast<std::size_t>(out.width) * out.height * 3, 0);
  readLines(info, out);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
