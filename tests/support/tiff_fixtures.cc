// Writes and reads small TIFF files through libtiff.
#include "tests/support/tiff_fixtures.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace plyfold::testing {
namespace {

std::vector<uint8_t> pattern(const PageSpec& page, tmsize_t size,
                             uint32_t strip) {
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  uint32_t state = page.seed * 2654435761u + strip * 40503u + 1;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    // Runs of equal bytes alternate with noise, so every codec has work.
    if (i % 64 < 24) {
      bytes[i] = static_cast<uint8_t>(page.seed + i / 64);
    } else {
      state = state * 1103515245u + 12345u;
      bytes[i] = static_cast<uint8_t>(state >> 16);
    }
  }
  return bytes;
}

bool write_page(TIFF* tiff, const PageSpec& page) {
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, page.width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, page.height);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, page.bits_per_sample);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, page.samples_per_pixel);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.photometric);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, page.compression);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, page.planar_config);
  const bool tiled = page.tile_width && page.tile_length;
  if (tiled) {
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, page.tile_width);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, page.tile_length);
  } else {
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                 page.rows_per_strip ? page.rows_per_strip : page.height);
  }
  if (page.extra_tags) page.extra_tags(tiff);
  if (tiled) {
    for (uint32_t tile = 0; tile < TIFFNumberOfTiles(tiff); ++tile) {
      std::vector<uint8_t> bytes = pattern(page, TIFFTileSize(tiff), tile);
      if (TIFFWriteEncodedTile(tiff, tile, bytes.data(),
                               static_cast<tmsize_t>(bytes.size())) < 0) {
        return false;
      }
    }
    return TIFFWriteDirectory(tiff) != 0;
  }
  const uint32_t rows_per_strip =
      page.rows_per_strip ? page.rows_per_strip : page.height;
  const uint32_t strips_per_plane =
      (page.height + rows_per_strip - 1) / rows_per_strip;
  for (uint32_t strip = 0; strip < TIFFNumberOfStrips(tiff); ++strip) {
    const uint32_t first_row = strip % strips_per_plane * rows_per_strip;
    const uint32_t rows = std::min(rows_per_strip, page.height - first_row);
    std::vector<uint8_t> bytes =
        pattern(page, TIFFVStripSize(tiff, rows), strip);
    if (TIFFWriteEncodedStrip(tiff, strip, bytes.data(),
                              static_cast<tmsize_t>(bytes.size())) < 0) {
      return false;
    }
  }
  return TIFFWriteDirectory(tiff) != 0;
}

TIFF* open_page(const std::string& path, int page) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff != nullptr && !TIFFSetDirectory(tiff, static_cast<tdir_t>(page))) {
    TIFFClose(tiff);
    return nullptr;
  }
  return tiff;
}

}  // namespace

bool write_tiff(const std::string& path, const std::vector<PageSpec>& pages) {
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (tiff == nullptr) return false;
  bool ok = true;
  for (const PageSpec& page : pages) ok = ok && write_page(tiff, page);
  TIFFClose(tiff);
  return ok;
}

bool write_stored_strips(const std::string& path, const PageSpec& page,
                         const std::vector<std::string>& strips) {
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (tiff == nullptr) return false;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, page.width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, page.height);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, page.bits_per_sample);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, page.samples_per_pixel);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.photometric);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, page.compression);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
               page.rows_per_strip ? page.rows_per_strip : page.height);
  if (page.extra_tags) page.extra_tags(tiff);
  bool ok = true;
  for (uint32_t strip = 0; strip < strips.size(); ++strip) {
    std::string bytes = strips[strip];
    ok = ok && TIFFWriteRawStrip(tiff, strip, bytes.data(),
                                 static_cast<tmsize_t>(bytes.size())) >= 0;
  }
  ok = ok && TIFFWriteDirectory(tiff);
  TIFFClose(tiff);
  return ok;
}

int count_pages(const std::string& path) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff == nullptr) return -1;
  // Walked as a join walks it: TIFFNumberOfDirectories can disagree on a
  // broken file.
  int pages = 0;
  do {
    ++pages;
  } while (TIFFReadDirectory(tiff));
  TIFFClose(tiff);
  return pages;
}

namespace {

std::vector<std::vector<uint8_t>> read_units(const std::string& path, int page,
                                             bool raw) {
  std::vector<std::vector<uint8_t>> units;
  TIFF* tiff = open_page(path, page);
  if (tiff == nullptr) return units;
  const bool tiled = TIFFIsTiled(tiff);
  const uint32_t count =
      tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  tmsize_t size = tiled ? TIFFTileSize(tiff) : TIFFStripSize(tiff);
  for (uint32_t unit = 0; raw && unit < count; ++unit) {
    size = std::max<tmsize_t>(size, TIFFGetStrileByteCount(tiff, unit));
  }
  std::vector<uint8_t> buffer(static_cast<std::size_t>(size));
  for (uint32_t unit = 0; unit < count; ++unit) {
    tmsize_t read;
    if (raw) {
      read = tiled ? TIFFReadRawTile(tiff, unit, buffer.data(), size)
                   : TIFFReadRawStrip(tiff, unit, buffer.data(), size);
    } else {
      read = tiled ? TIFFReadEncodedTile(tiff, unit, buffer.data(), -1)
                   : TIFFReadEncodedStrip(tiff, unit, buffer.data(), -1);
    }
    units.emplace_back(buffer.begin(),
                       buffer.begin() + std::max<tmsize_t>(read, 0));
  }
  TIFFClose(tiff);
  return units;
}

}  // namespace

std::vector<std::vector<uint8_t>> decoded_units(const std::string& path,
                                                int page) {
  return read_units(path, page, false);
}

std::vector<std::vector<uint8_t>> raw_units(const std::string& path, int page) {
  return read_units(path, page, true);
}

namespace {

template <typename T>
std::string join_values(const T* values, std::size_t count) {
  std::ostringstream text;
  for (std::size_t i = 0; i < count; ++i) text << (i ? "," : "") << +values[i];
  return text.str();
}

}  // namespace

std::string tag_text(const std::string& path, int page, uint32_t tag) {
  TIFF* tiff = open_page(path, page);
  if (tiff == nullptr) return "unreadable";
  std::string text = "absent";
  uint16_t bits = 0;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  const TIFFField* field = TIFFFindField(tiff, tag, TIFF_ANY);
  switch (tag) {
    case TIFFTAG_COLORMAP: {
      uint16_t *red, *green, *blue;
      if (TIFFGetField(tiff, tag, &red, &green, &blue)) {
        const std::size_t n = std::size_t{1} << bits;
        text = join_values(red, n) + ";" + join_values(green, n) + ";" +
               join_values(blue, n);
      }
      break;
    }
    case TIFFTAG_EXTRASAMPLES: {
      uint16_t count;
      uint16_t* values;
      if (TIFFGetField(tiff, tag, &count, &values)) {
        text = join_values(values, count);
      }
      break;
    }
    case TIFFTAG_YCBCRSUBSAMPLING: {
      uint16_t values[2];
      if (TIFFGetField(tiff, tag, &values[0], &values[1])) {
        text = join_values(values, 2);
      }
      break;
    }
    case TIFFTAG_REFERENCEBLACKWHITE: {
      float* values;
      if (TIFFGetField(tiff, tag, &values)) text = join_values(values, 6);
      break;
    }
    case TIFFTAG_JPEGTABLES: {
      uint32_t count;
      uint8_t* bytes;
      if (TIFFGetField(tiff, tag, &count, &bytes)) {
        text = join_values(bytes, count);
      }
      break;
    }
    default: {
      const TIFFDataType type = field ? TIFFFieldDataType(field) : TIFF_NOTYPE;
      if (type == TIFF_ASCII) {
        char* value;
        if (TIFFGetField(tiff, tag, &value)) text = value;
      } else {
        const TagReading reading = read_tag(path, page, tag);
        if (reading.present) text = std::to_string(reading.value);
      }
    }
  }
  TIFFClose(tiff);
  return text;
}

TagReading read_tag(const std::string& path, int page, uint32_t tag) {
  TagReading reading;
  TIFF* tiff = open_page(path, page);
  if (tiff == nullptr) return reading;
  const TIFFField* field = TIFFFindField(tiff, tag, TIFF_ANY);
  if (field != nullptr && TIFFFieldPassCount(field) == 0 &&
      TIFFFieldReadCount(field) == 1) {
    switch (TIFFFieldDataType(field)) {
      case TIFF_SHORT: {
        uint16_t value;
        reading.present = TIFFGetField(tiff, tag, &value);
        reading.value = value;
        break;
      }
      case TIFF_LONG: {
        uint32_t value;
        reading.present = TIFFGetField(tiff, tag, &value);
        reading.value = value;
        break;
      }
      case TIFF_RATIONAL:
      case TIFF_FLOAT: {
        float value;
        reading.present = TIFFGetField(tiff, tag, &value);
        reading.value = value;
        break;
      }
      default:
        break;
    }
  } else if (field != nullptr) {
    // Arrays and strings: only whether the tag is there.
    void* values[4];
    reading.present =
        TIFFGetField(tiff, tag, &values[0], &values[1], &values[2]);
  }
  TIFFClose(tiff);
  return reading;
}

void corrupt_strip(const std::string& path, uint32_t strip) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff == nullptr) return;
  uint64_t* offsets = nullptr;
  uint64_t* counts = nullptr;
  uint64_t offset = 0;
  uint64_t count = 0;
  if (TIFFGetField(tiff, TIFFTAG_STRIPOFFSETS, &offsets) &&
      TIFFGetField(tiff, TIFFTAG_STRIPBYTECOUNTS, &counts) &&
      strip < TIFFNumberOfStrips(tiff)) {
    offset = offsets[strip];
    count = counts[strip];
  }
  TIFFClose(tiff);
  std::string bytes = file_bytes(path);
  bytes.replace(offset, count, std::string(count, '\xff'));
  write_file(path, bytes);
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace plyfold::testing
