// Tag copy and the strip loop: every strip is decoded by libtiff from the
// input and encoded again into the same strip of the output.
#include "combine/copy_page.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace plyfold {
namespace {

constexpr char kStripProgress[] = "Strip read: %lld, Strip wrote: %lld\n";

// How a tag's value is fetched from the input and handed to the output.
enum class TagValue {
  kUint16,  // fetched as uint16_t, set as int
  kUint32,  // fetched and set as uint32_t
  kFloat,   // fetched as float, set as double
};

struct CopiedTag {
  uint32_t tag;
  TagValue value;
};

// The copied tag set, in copy order.
constexpr CopiedTag kCopiedTags[] = {
    {TIFFTAG_SUBFILETYPE, TagValue::kUint32},
    {TIFFTAG_IMAGEWIDTH, TagValue::kUint32},
    {TIFFTAG_IMAGELENGTH, TagValue::kUint32},
    {TIFFTAG_BITSPERSAMPLE, TagValue::kUint16},
    {TIFFTAG_COMPRESSION, TagValue::kUint16},
    {TIFFTAG_PHOTOMETRIC, TagValue::kUint16},
    {TIFFTAG_FILLORDER, TagValue::kUint16},
    {TIFFTAG_ORIENTATION, TagValue::kUint16},
    {TIFFTAG_SAMPLESPERPIXEL, TagValue::kUint16},
    {TIFFTAG_ROWSPERSTRIP, TagValue::kUint32},
    {TIFFTAG_XRESOLUTION, TagValue::kFloat},
    {TIFFTAG_YRESOLUTION, TagValue::kFloat},
    {TIFFTAG_PLANARCONFIG, TagValue::kUint16},
};

// Sets the tag on the output only when the input's directory yields it.
void copy_tag(TIFF* input, TIFF* output, const CopiedTag& copied) {
  switch (copied.value) {
    case TagValue::kUint16: {
      uint16_t value;
      if (TIFFGetField(input, copied.tag, &value)) {
        TIFFSetField(output, copied.tag, static_cast<int>(value));
      }
      return;
    }
    case TagValue::kUint32: {
      uint32_t value;
      if (TIFFGetField(input, copied.tag, &value)) {
        TIFFSetField(output, copied.tag, value);
      }
      return;
    }
    case TagValue::kFloat: {
      float value;
      if (TIFFGetField(input, copied.tag, &value)) {
        TIFFSetField(output, copied.tag, static_cast<double>(value));
      }
      return;
    }
  }
}

// The decoded size of strip `strip` of the input's current page: the full
// strip size except for the last strip of a plane, which may be shorter.
tmsize_t decoded_strip_size(TIFF* input, uint32_t strip) {
  uint32_t length = 0;
  uint32_t rows_per_strip = 0;
  TIFFGetField(input, TIFFTAG_IMAGELENGTH, &length);
  TIFFGetFieldDefaulted(input, TIFFTAG_ROWSPERSTRIP, &rows_per_strip);
  if (length == 0 || rows_per_strip == 0) return 0;
  rows_per_strip = std::min(rows_per_strip, length);
  const uint32_t strips_per_plane =
      length / rows_per_strip + (length % rows_per_strip != 0);
  const uint32_t first_row = strip % strips_per_plane * rows_per_strip;
  return TIFFVStripSize(input, std::min(rows_per_strip, length - first_row));
}

struct TiffFree {
  void operator()(void* block) const { _TIFFfree(block); }
};

}  // namespace

PageCopy copy_page(TIFF* input, TIFF* output) {
  for (const CopiedTag& copied : kCopiedTags) copy_tag(input, output, copied);

  const tmsize_t strip_size = TIFFStripSize(input);
  std::unique_ptr<void, TiffFree> buffer(
      strip_size > 0 ? _TIFFmalloc(strip_size) : nullptr);
  bool read_failed = false;
  bool write_failed = false;
  const uint32_t strips = TIFFNumberOfStrips(input);
  for (uint32_t strip = 0; strip < strips; ++strip) {
    tmsize_t read = -1;
    tmsize_t wrote = -1;
    if (buffer) {
      read = TIFFReadEncodedStrip(input, strip, buffer.get(), -1);
      tmsize_t size = read;
      if (read < 0) {
        // Keep the page whole: an undecodable strip becomes a blank one.
        size = std::min(decoded_strip_size(input, strip), strip_size);
        std::memset(buffer.get(), 0, static_cast<std::size_t>(size));
      }
      wrote = TIFFWriteEncodedStrip(output, strip, buffer.get(), size);
    }
    read_failed |= read < 0;
    write_failed |= buffer && wrote < 0;
    std::printf(kStripProgress, static_cast<long long>(read),
                static_cast<long long>(wrote));
  }
  if (write_failed) return PageCopy::kWriteFailed;
  return read_failed ? PageCopy::kReadFailed : PageCopy::kCopied;
}

}  // namespace plyfold
