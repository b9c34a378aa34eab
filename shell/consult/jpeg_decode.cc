// decodeJpeg: libjpeg with an error manager that returns instead of exiting.
#include "jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// libjpeg calls this on a fatal error; the default would exit the program.
void onError(j_common_ptr info) {
  auto* mgr = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, mgr->message);
  std::longjmp(mgr->jump, 1);
}

// Warnings (for instance a truncated file) are not printed; the picture
// decoded so far is used.
void onMessage(j_common_ptr, int) {}

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
  // Every object that must survive longjmp lives outside this frame's locals
  // changed after setjmp: `info`, `mgr` and `out` are set up before it.
  if (setjmp(mgr.jump)) {
    jpeg_destroy_decompress(&info);
    if (error) *error = mgr.message;
    out = RgbPicture{};
    return false;
  }
  jpeg_create_decompress(&info);
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
