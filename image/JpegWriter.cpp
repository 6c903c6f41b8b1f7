#include "image/JpegWriter.h"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace qv {

namespace {

constexpr size_t kOutputBufferSize = 4096;

struct JpegDestination {
  jpeg_destination_mgr manager;
  std::FILE* file;
  JOCTET buffer[kOutputBufferSize];
};

struct JpegErrorHandler {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// Everything the libjpeg calls need, prepared outside the setjmp scope.
struct JpegJob {
  std::FILE* file;
  JDIMENSION width;
  JDIMENSION height;
  bool grey;
  int quality;
  UINT16 xDensity;
  UINT16 yDensity;
  const uint8_t* bottomRow;  // stored rows, bottom row first
  size_t stride;
  JSAMPLE* scratch;  // one output row
};

void initDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
  dest->manager.next_output_byte = dest->buffer;
  dest->manager.free_in_buffer = kOutputBufferSize;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
  if (std::fwrite(dest->buffer, 1, kOutputBufferSize, dest->file) != kOutputBufferSize) {
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
  dest->manager.next_output_byte = dest->buffer;
  dest->manager.free_in_buffer = kOutputBufferSize;
  return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
  const size_t used = kOutputBufferSize - dest->manager.free_in_buffer;
  if (used > 0 && std::fwrite(dest->buffer, 1, used, dest->file) != used) {
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
  if (std::fflush(dest->file) != 0) {
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
}

void errorExit(j_common_ptr cinfo) {
  auto* handler = reinterpret_cast<JpegErrorHandler*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, handler->message);
  std::longjmp(handler->jump, 1);
}

// libjpeg's default prints warnings on the standard error stream; the writer stays silent.
void outputMessage(j_common_ptr) {}

// Plain C-style code: libjpeg reports errors by longjmp back into this function.
bool runJpegJob(const JpegJob* job, char* message) {
  jpeg_compress_struct cinfo;
  JpegErrorHandler err;
  JpegDestination dest;
  cinfo.err = jpeg_std_error(&err.manager);
  err.manager.error_exit = errorExit;
  err.manager.output_message = outputMessage;
  err.message[0] = '\0';
  if (setjmp(err.jump)) {
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  dest.manager.init_destination = initDestination;
  dest.manager.empty_output_buffer = emptyOutputBuffer;
  dest.manager.term_destination = termDestination;
  dest.file = job->file;
  cinfo.dest = &dest.manager;

  cinfo.image_width = job->width;
  cinfo.image_height = job->height;
  cinfo.input_components = job->grey ? 1 : 3;
  cinfo.in_color_space = job->grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, job->quality, FALSE);
  cinfo.density_unit = 1;  // dots per inch
  cinfo.X_density = job->xDensity;
  cinfo.Y_density = job->yDensity;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* src = job->bottomRow + (job->height - 1 - cinfo.next_scanline) * job->stride;
    JSAMPROW row = job->scratch;
    if (job->grey) {
      row = const_cast<JSAMPLE*>(src);
    } else {
      for (JDIMENSION x = 0; x < job->width; ++x, src += 3) {
        row[3 * x] = src[2];
        row[3 * x + 1] = src[1];
        row[3 * x + 2] = src[0];
      }
    }
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

UINT16 density(int dpi) {
  return static_cast<UINT16>(dpi < 1 ? 1 : dpi > 65535 ? 65535 : dpi);
}

}  // namespace

bool writeJpeg(std::FILE* file, const CImageBuffer& image, std::string& error) {
  const bool grey = image.hasGreyPalette();
  if (!grey && image.bitsPerPixel() != 24) {
    error = "JPEG can save only RGB or GreyScale images";
    return false;
  }
  std::vector<JSAMPLE> scratch(grey ? 1 : static_cast<size_t>(image.width()) * 3);
  JpegJob job{};
  job.file = file;
  job.width = static_cast<JDIMENSION>(image.width());
  job.height = static_cast<JDIMENSION>(image.height());
  job.grey = grey;
  job.quality = image.jpegQuality();
  job.xDensity = density(image.xDpi());
  job.yDensity = density(image.yDpi());
  job.bottomRow = image.row(0);
  job.stride = image.stride();
  job.scratch = scratch.data();
  char message[JMSG_LENGTH_MAX] = {};
  if (!runJpegJob(&job, message)) {
    error = message[0] ? message : "Error saving JPEG file";
    return false;
  }
  return true;
}

}  // namespace qv
