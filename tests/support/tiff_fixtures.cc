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
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
               page.rows_per_strip ? page.rows_per_strip : page.height);
  if (page.extra_tags) page.extra_tags(tiff);
  const uint32_t strips = TIFFNumberOfStrips(tiff);
  const uint32_t rows_per_strip =
      page.rows_per_strip ? page.rows_per_strip : page.height;
  const uint32_t strips_per_plane =
      (page.height + rows_per_strip - 1) / rows_per_strip;
  for (uint32_t strip = 0; strip < strips; ++strip) {
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

int count_pages(const std::string& path) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff == nullptr) return -1;
  const int pages = TIFFNumberOfDirectories(tiff);
  TIFFClose(tiff);
  return pages;
}

std::vector<std::vector<uint8_t>> decoded_strips(const std::string& path,
                                                 int page) {
  std::vector<std::vector<uint8_t>> strips;
  TIFF* tiff = open_page(path, page);
  if (tiff == nullptr) return strips;
  std::vector<uint8_t> buffer(static_cast<std::size_t>(TIFFStripSize(tiff)));
  for (uint32_t strip = 0; strip < TIFFNumberOfStrips(tiff); ++strip) {
    const tmsize_t read = TIFFReadEncodedStrip(tiff, strip, buffer.data(), -1);
    strips.emplace_back(buffer.begin(), buffer.begin() + (read < 0 ? 0 : read));
  }
  TIFFClose(tiff);
  return strips;
}

TagReading read_tag(const std::string& path, int page, uint32_t tag) {
  TagReading reading;
  TIFF* tiff = open_page(path, page);
  if (tiff == nullptr) return reading;
  const TIFFField* field = TIFFFieldWithTag(tiff, tag);
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
