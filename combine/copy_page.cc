// Tag copy and the strip (or tile) loop. Image data are decoded by libtiff
// from the input and encoded again into the same strip or tile of the output,
// except for JPEG pages, whose encoded data are moved as they are.
#include "combine/copy_page.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

namespace plyfold {
namespace {

// How a tag's value is fetched from the input and handed to the output.
enum class TagValue {
  kUint16,          // uint16_t, set as int
  kCompression,     // uint16_t, set as int, decode-only schemes replaced
  kUint32,          // uint32_t
  kFloat,           // float, set as double
  kUint16Pair,      // two uint16_t, set as two ints
  kCountedUint16s,  // uint16_t count and uint16_t array, count set as int
  kCountedBytes,    // uint32_t count and a block of bytes
  kColorMap,        // three uint16_t arrays
  kFloats,          // a float array whose length the tag fixes
};

struct CopiedTag {
  uint32_t tag;
  TagValue value;
};

// The copied tag set, in copy order: the baseline tags, then every tag
// without which the output's pixels would be read differently.
constexpr CopiedTag kCopiedTags[] = {
    {TIFFTAG_SUBFILETYPE, TagValue::kUint32},
    {TIFFTAG_IMAGEWIDTH, TagValue::kUint32},
    {TIFFTAG_IMAGELENGTH, TagValue::kUint32},
    {TIFFTAG_BITSPERSAMPLE, TagValue::kUint16},
    {TIFFTAG_COMPRESSION, TagValue::kCompression},
    {TIFFTAG_PHOTOMETRIC, TagValue::kUint16},
    {TIFFTAG_FILLORDER, TagValue::kUint16},
    {TIFFTAG_ORIENTATION, TagValue::kUint16},
    {TIFFTAG_SAMPLESPERPIXEL, TagValue::kUint16},
    {TIFFTAG_ROWSPERSTRIP, TagValue::kUint32},
    {TIFFTAG_XRESOLUTION, TagValue::kFloat},
    {TIFFTAG_YRESOLUTION, TagValue::kFloat},
    {TIFFTAG_PLANARCONFIG, TagValue::kUint16},
    {TIFFTAG_RESOLUTIONUNIT, TagValue::kUint16},
    {TIFFTAG_COLORMAP, TagValue::kColorMap},
    {TIFFTAG_EXTRASAMPLES, TagValue::kCountedUint16s},
    {TIFFTAG_SAMPLEFORMAT, TagValue::kUint16},
    {TIFFTAG_YCBCRSUBSAMPLING, TagValue::kUint16Pair},
    {TIFFTAG_YCBCRPOSITIONING, TagValue::kUint16},
    {TIFFTAG_REFERENCEBLACKWHITE, TagValue::kFloats},
    {TIFFTAG_INKSET, TagValue::kUint16},
    {TIFFTAG_TILEWIDTH, TagValue::kUint32},
    {TIFFTAG_TILELENGTH, TagValue::kUint32},
    {TIFFTAG_JPEGTABLES, TagValue::kCountedBytes},
};

// Compressions that libtiff decodes but cannot encode (its encoders for them
// report success and write nothing). Their pages are re-encoded losslessly.
constexpr uint16_t kDecodeOnlyCompressions[] = {
    COMPRESSION_OJPEG, COMPRESSION_NEXT, COMPRESSION_THUNDERSCAN};
constexpr uint16_t kLosslessCompression = COMPRESSION_ADOBE_DEFLATE;

// The compression the output page is written with.
uint16_t output_compression(uint16_t input_compression) {
  const bool decode_only =
      std::count(std::begin(kDecodeOnlyCompressions),
                 std::end(kDecodeOnlyCompressions), input_compression) > 0;
  return decode_only ? kLosslessCompression : input_compression;
}

// Sets the tag on the output only when the input's directory yields it.
void copy_tag(TIFF* input, TIFF* output, const CopiedTag& copied) {
  const uint32_t tag = copied.tag;
  switch (copied.value) {
    case TagValue::kUint16: {
      uint16_t value;
      if (TIFFGetField(input, tag, &value)) {
        TIFFSetField(output, tag, static_cast<int>(value));
      }
      return;
    }
    case TagValue::kCompression: {
      uint16_t value;
      if (TIFFGetField(input, tag, &value)) {
        TIFFSetField(output, tag, static_cast<int>(output_compression(value)));
      }
      return;
    }
    case TagValue::kUint32: {
      uint32_t value;
      if (TIFFGetField(input, tag, &value)) TIFFSetField(output, tag, value);
      return;
    }
    case TagValue::kFloat: {
      float value;
      if (TIFFGetField(input, tag, &value)) {
        TIFFSetField(output, tag, static_cast<double>(value));
      }
      return;
    }
    case TagValue::kUint16Pair: {
      uint16_t first, second;
      if (TIFFGetField(input, tag, &first, &second)) {
        TIFFSetField(output, tag, static_cast<int>(first),
                     static_cast<int>(second));
      }
      return;
    }
    case TagValue::kCountedUint16s: {
      uint16_t count;
      uint16_t* values;
      if (TIFFGetField(input, tag, &count, &values)) {
        TIFFSetField(output, tag, static_cast<int>(count), values);
      }
      return;
    }
    case TagValue::kCountedBytes: {
      uint32_t count;
      void* bytes;
      if (TIFFGetField(input, tag, &count, &bytes)) {
        TIFFSetField(output, tag, count, bytes);
      }
      return;
    }
    case TagValue::kColorMap: {
      uint16_t *red, *green, *blue;
      if (TIFFGetField(input, tag, &red, &green, &blue)) {
        TIFFSetField(output, tag, red, green, blue);
      }
      return;
    }
    case TagValue::kFloats: {
      float* values;
      if (TIFFGetField(input, tag, &values)) TIFFSetField(output, tag, values);
      return;
    }
  }
}

using UnitCall = tmsize_t (*)(TIFF*, uint32_t, void*, tmsize_t);

// The calls that move one strip or tile, and the line that reports it.
struct UnitTransfer {
  UnitCall read;
  UnitCall write;
  const char* name;  // in the progress line
  bool raw;          // encoded data moved unchanged
};

// "Strip read: 4096, Strip wrote: 4096", one line per strip or tile.
constexpr char kProgress[] = "%s read: %lld, %s wrote: %lld\n";

constexpr UnitTransfer kDecodedStrips = {TIFFReadEncodedStrip,
                                         TIFFWriteEncodedStrip, "Strip", false};
constexpr UnitTransfer kDecodedTiles = {TIFFReadEncodedTile,
                                        TIFFWriteEncodedTile, "Tile", false};
constexpr UnitTransfer kRawStrips = {TIFFReadRawStrip, TIFFWriteRawStrip,
                                     "Strip", true};
constexpr UnitTransfer kRawTiles = {TIFFReadRawTile, TIFFWriteRawTile, "Tile",
                                    true};

// The largest stored strip or tile, no larger than the file that holds it.
tmsize_t largest_raw_unit(TIFF* input, uint32_t units) {
  uint64_t largest = 0;
  for (uint32_t unit = 0; unit < units; ++unit) {
    largest = std::max(largest, TIFFGetStrileByteCount(input, unit));
  }
  const uint64_t file_size =
      static_cast<uint64_t>(TIFFGetSizeProc(input)(TIFFClientdata(input)));
  return static_cast<tmsize_t>(std::min(largest, file_size));
}

// The decoded size of strip `strip`: the full strip size except for the last
// strip of a plane, which may be shorter.
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

// A page of up to this many decoded bytes is always tried; a larger one only
// when its file could decode to it. No codec expands its stored data by more
// than kMaxExpansion, so a larger claim comes from a broken or hostile file,
// whose strips would otherwise be asked for and written blank, one by one.
constexpr uint64_t kPageAlwaysTried = uint64_t{64} << 20;
constexpr uint64_t kMaxExpansion = 4096;

bool plausible_page(TIFF* input, tmsize_t unit_size, uint32_t units) {
  const uint64_t file_size =
      static_cast<uint64_t>(TIFFGetSizeProc(input)(TIFFClientdata(input)));
  const uint64_t unit = static_cast<uint64_t>(unit_size);
  const uint64_t limit = std::max(kPageAlwaysTried,
                                  file_size > UINT64_MAX / kMaxExpansion
                                      ? UINT64_MAX
                                      : file_size * kMaxExpansion);
  return unit <= limit && units <= limit / std::max<uint64_t>(unit, 1);
}

constexpr tmsize_t kWriteBufferBytes = 64 << 10;

struct TiffFree {
  void operator()(void* block) const { _TIFFfree(block); }
};

}  // namespace

PageCopy copy_page(TIFF* input, TIFF* output) {
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetField(input, TIFFTAG_COMPRESSION, &compression);
  const bool tiled = TIFFIsTiled(input);
  const bool raw = compression == COMPRESSION_JPEG;
  const UnitTransfer& transfer = tiled ? (raw ? kRawTiles : kDecodedTiles)
                                       : (raw ? kRawStrips : kDecodedStrips);
  const uint32_t units =
      tiled ? TIFFNumberOfTiles(input) : TIFFNumberOfStrips(input);
  const tmsize_t buffer_size = raw     ? largest_raw_unit(input, units)
                               : tiled ? TIFFTileSize(input)
                                       : TIFFStripSize(input);
  std::unique_ptr<void, TiffFree> buffer(
      buffer_size > 0 && plausible_page(input, buffer_size, units)
          ? _TIFFmalloc(buffer_size)
          : nullptr);
  if (!buffer && units > 0) {
    // The page cannot be copied: it is left out whole, nothing set on the
    // output, and each of its strips or tiles reported as failed.
    for (uint32_t unit = 0; unit < units; ++unit) {
      std::printf(kProgress, transfer.name, -1LL, transfer.name, -1LL);
    }
    return PageCopy::kRefused;
  }

  for (const CopiedTag& copied : kCopiedTags) copy_tag(input, output, copied);
  // libtiff's encoders write out a full buffer as they go, so a small one
  // spares a second strip's worth of memory, and is faster too. Only its
  // Deflate encoder needs room for a whole strip, or it falls back from
  // libdeflate to zlib, at half the speed.
  const uint16_t written = output_compression(compression);
  if (written != COMPRESSION_ADOBE_DEFLATE && written != COMPRESSION_DEFLATE) {
    TIFFWriteBufferSetup(output, nullptr, kWriteBufferBytes);
  }

  bool read_failed = false;
  bool write_failed = false;
  for (uint32_t unit = 0; unit < units; ++unit) {
    // The whole strip or tile, which the buffer always holds; naming its size
    // rather than -1 lets libtiff read uncompressed data straight into it.
    const tmsize_t read = transfer.read(input, unit, buffer.get(), buffer_size);
    tmsize_t size = read;
    if (read < 0 && !transfer.raw) {
      // Keep the page whole: an undecodable strip or tile becomes blank.
      size = tiled ? buffer_size
                   : std::min(decoded_strip_size(input, unit), buffer_size);
      std::memset(buffer.get(), 0, static_cast<std::size_t>(size));
    }
    // Blank encoded data would be no valid JPEG: an unreadable raw unit is
    // left out, and 0 bytes are reported for it.
    const tmsize_t wrote =
        size >= 0 ? transfer.write(output, unit, buffer.get(), size) : 0;
    write_failed |= wrote < 0;
    read_failed |= read < 0;
    std::printf(kProgress, transfer.name, static_cast<long long>(read),
                transfer.name, static_cast<long long>(wrote));
  }
  if (write_failed) return PageCopy::kWriteFailed;
  return read_failed ? PageCopy::kReadFailed : PageCopy::kCopied;
}

}  // namespace plyfold
