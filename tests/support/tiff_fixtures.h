// Small TIFF files made at run time, and readers to check what a join wrote.
#ifndef PLYFOLD_TESTS_SUPPORT_TIFF_FIXTURES_H_
#define PLYFOLD_TESTS_SUPPORT_TIFF_FIXTURES_H_

#include <tiffio.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plyfold::testing {

// One page to write. Samples follow a pattern seeded by `seed`, so pages
// with different seeds hold different pixels.
struct PageSpec {
  uint32_t width = 16;
  uint32_t height = 16;
  uint16_t bits_per_sample = 8;
  uint16_t samples_per_pixel = 1;
  uint16_t photometric = PHOTOMETRIC_MINISBLACK;
  uint16_t compression = COMPRESSION_NONE;
  uint16_t planar_config = PLANARCONFIG_CONTIG;
  uint32_t rows_per_strip = 0;  // 0: the whole page in one strip
  uint32_t tile_width = 0;      // both non-zero: a tiled page
  uint32_t tile_length = 0;
  uint8_t seed = 1;
  // Runs after the standard tags are set, before the pixels: extra tags.
  std::function<void(TIFF*)> extra_tags;
};

// Writes the pages to `path`; returns false when libtiff failed.
bool write_tiff(const std::string& path, const std::vector<PageSpec>& pages);

// Writes one strip page whose strips are stored exactly as given, for
// compressions that libtiff can decode but not encode.
bool write_stored_strips(const std::string& path, const PageSpec& page,
                         const std::vector<std::string>& strips);

// Pages of the file at `path` as libtiff walks them, or -1 when libtiff
// cannot open it.
int count_pages(const std::string& path);

// Every strip, or every tile of a tiled page, of page `page` (from 0),
// decoded by libtiff or as stored; empty when unreadable.
std::vector<std::vector<uint8_t>> decoded_units(const std::string& path,
                                                int page);
std::vector<std::vector<uint8_t>> raw_units(const std::string& path, int page);

// The tag's value on the page as text ("absent" when it has none), arrays
// and strings included, for comparing two pages.
std::string tag_text(const std::string& path, int page, uint32_t tag);

// Whether the page carries `tag` and, for numeric tags, its value as double.
struct TagReading {
  bool present = false;
  double value = 0;
};
TagReading read_tag(const std::string& path, int page, uint32_t tag);

// Overwrites the stored bytes of strip `strip` of page 0 with 0xff.
void corrupt_strip(const std::string& path, uint32_t strip);

// The whole file's bytes, or empty when it cannot be read.
std::string file_bytes(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);

}  // namespace plyfold::testing

#endif  // PLYFOLD_TESTS_SUPPORT_TIFF_FIXTURES_H_
