// Makes the sample inputs for the demo join: a two-page fax, a colour page
// and a grey page, plus a list file naming all three.
#include <cstdio>
#include <string>

#include "tests/support/tiff_fixtures.h"

namespace {

using plyfold::testing::PageSpec;

PageSpec fax_page(uint8_t seed) {
  PageSpec page;
  page.width = 1728;
  page.height = 220;
  page.bits_per_sample = 1;
  page.photometric = PHOTOMETRIC_MINISWHITE;
  page.compression = COMPRESSION_CCITTFAX4;
  page.rows_per_strip = 64;
  page.seed = seed;
  page.extra_tags = [](TIFF* tiff) {
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 204.0);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 196.0);
  };
  return page;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  PageSpec photo;
  photo.width = 120;
  photo.height = 80;
  photo.samples_per_pixel = 3;
  photo.photometric = PHOTOMETRIC_RGB;
  photo.compression = COMPRESSION_LZW;
  photo.rows_per_strip = 32;
  PageSpec gray;
  gray.width = 100;
  gray.height = 100;
  gray.compression = COMPRESSION_PACKBITS;
  gray.seed = 7;
  const bool ok =
      plyfold::testing::write_tiff(folder + "/fax.tif",
                                   {fax_page(1), fax_page(2)}) &&
      plyfold::testing::write_tiff(folder + "/photo.tif", {photo}) &&
      plyfold::testing::write_tiff(folder + "/gray.tif", {gray});
  plyfold::testing::write_file(
      folder + "/pages.txt",
      folder + "/fax.tif\n" + folder + "/photo.tif\n" + folder + "/gray.tif\n");
  return ok ? 0 : 1;
}
