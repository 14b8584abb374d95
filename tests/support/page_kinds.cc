// Every common kind of TIFF page, as a table, for tests and fuzz seeds.
#include "tests/support/page_kinds.h"

#include <utility>

namespace plyfold::testing {
PageSpec make(uint16_t bits, uint16_t samples, uint16_t photometric,
              uint16_t compression, Tags tags) {
  PageSpec page;
  page.width = 40;
  page.height = 36;
  page.rows_per_strip = 16;  // three strips, the last one short
  page.bits_per_sample = bits;
  page.samples_per_pixel = samples;
  page.photometric = photometric;
  page.compression = compression;
  page.extra_tags = std::move(tags);
  return page;
}

namespace {

PageSpec bilevel(uint16_t compression, Tags tags = nullptr) {
  return make(1, 1, PHOTOMETRIC_MINISWHITE, compression, std::move(tags));
}
PageSpec gray(uint16_t bits, uint16_t compression, Tags tags = nullptr) {
  return make(bits, 1, PHOTOMETRIC_MINISBLACK, compression, std::move(tags));
}
PageSpec rgb(uint16_t bits, uint16_t compression, Tags tags = nullptr) {
  return make(bits, 3, PHOTOMETRIC_RGB, compression, std::move(tags));
}
PageSpec tiled(PageSpec page) {
  page.tile_width = 16;
  page.tile_length = 16;  // 40x36 leaves partial tiles at both edges
  return page;
}
}  // namespace

PageSpec sized(PageSpec page, uint32_t width, uint32_t height,
               uint32_t rows_per_strip) {
  page.width = width;
  page.height = height;
  page.rows_per_strip = rows_per_strip;
  return page;
}

namespace {

Tags tag16(uint32_t tag, int value) {
  return [=](TIFF* tiff) { TIFFSetField(tiff, tag, value); };
}
Tags both(Tags first, Tags second) {
  return [=](TIFF* tiff) {
    first(tiff);
    second(tiff);
  };
}
const Tags kFillOrder2 = tag16(TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
const Tags kPredictor = tag16(TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
const Tags kJpegFromRgb = tag16(TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);

Tags palette(int bits) {
  return [=](TIFF* tiff) {
    std::vector<uint16_t> map[3];
    for (int c = 0; c < 3; ++c) {
      for (int i = 0; i < 1 << bits; ++i) map[c].push_back((i * 997 + c) * 13);
    }
    TIFFSetField(tiff, TIFFTAG_COLORMAP, map[0].data(), map[1].data(),
                 map[2].data());
  };
}
Tags extra_sample(uint16_t kind) {
  return [=](TIFF* tiff) {
    uint16_t kinds[] = {kind};
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, kinds);
  };
}
Tags resolution(double x, double y, int unit) {
  return [=](TIFF* tiff) {
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, x);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, y);
    if (unit) TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, unit);
  };
}
}  // namespace

Tags ycbcr(int horizontal, int vertical) {
  return [=](TIFF* tiff) {
    float reference[] = {0, 255, 128, 255, 128, 255};
    TIFFSetField(tiff, TIFFTAG_YCBCRSUBSAMPLING, horizontal, vertical);
    TIFFSetField(tiff, TIFFTAG_YCBCRPOSITIONING, YCBCRPOSITION_COSITED);
    TIFFSetField(tiff, TIFFTAG_REFERENCEBLACKWHITE, reference);
  };
}

namespace {

PageSpec planar_separate(PageSpec page) {
  page.planar_config = PLANARCONFIG_SEPARATE;
  return page;
}

}  // namespace

const std::vector<PageKind>& page_kinds() {
  static const std::vector<PageKind> kinds = {
      {"bilevel_none", bilevel(COMPRESSION_NONE)},
      {"bilevel_none_fill_order_2", bilevel(COMPRESSION_NONE, kFillOrder2)},
      {"bilevel_packbits", bilevel(COMPRESSION_PACKBITS)},
      {"bilevel_g3_1d", bilevel(COMPRESSION_CCITTFAX3)},
      {"bilevel_g3_2d",
       bilevel(COMPRESSION_CCITTFAX3,
               tag16(TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING))},
      {"bilevel_g3_fill_order_2", bilevel(COMPRESSION_CCITTFAX3, kFillOrder2)},
      {"bilevel_g4", bilevel(COMPRESSION_CCITTFAX4)},
      {"bilevel_g4_fill_order_2", bilevel(COMPRESSION_CCITTFAX4, kFillOrder2)},
      {"gray8_none", gray(8, COMPRESSION_NONE)},
      {"gray8_lzw", gray(8, COMPRESSION_LZW)},
      {"gray8_lzw_predictor", gray(8, COMPRESSION_LZW, kPredictor)},
      {"gray8_deflate", gray(8, COMPRESSION_ADOBE_DEFLATE)},
      {"gray8_packbits", gray(8, COMPRESSION_PACKBITS)},
      {"gray16_none", gray(16, COMPRESSION_NONE)},
      {"gray16_lzw", gray(16, COMPRESSION_LZW)},
      {"gray16_lzw_predictor", gray(16, COMPRESSION_LZW, kPredictor)},
      {"gray16_deflate", gray(16, COMPRESSION_ADOBE_DEFLATE)},
      {"gray16_packbits", gray(16, COMPRESSION_PACKBITS)},
      {"float32_floating_point_predictor",
       gray(32, COMPRESSION_ADOBE_DEFLATE,
            both(tag16(TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP),
                 tag16(TIFFTAG_PREDICTOR, PREDICTOR_FLOATINGPOINT)))},
      {"signed16", gray(16, COMPRESSION_LZW,
                        tag16(TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_INT))},
      {"palette4",
       make(4, 1, PHOTOMETRIC_PALETTE, COMPRESSION_LZW, palette(4))},
      {"palette8",
       make(8, 1, PHOTOMETRIC_PALETTE, COMPRESSION_PACKBITS, palette(8))},
      {"rgb8_none", rgb(8, COMPRESSION_NONE)},
      {"rgb8_lzw", rgb(8, COMPRESSION_LZW)},
      {"rgb8_deflate", rgb(8, COMPRESSION_ADOBE_DEFLATE)},
      {"rgb8_jpeg_ycbcr_2x2",
       make(8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_JPEG, kJpegFromRgb)},
      {"rgb8_jpeg_rgb", rgb(8, COMPRESSION_JPEG)},
      {"rgb16", rgb(16, COMPRESSION_LZW)},
      {"rgba_associated_alpha", make(8, 4, PHOTOMETRIC_RGB, COMPRESSION_LZW,
                                     extra_sample(EXTRASAMPLE_ASSOCALPHA))},
      {"rgba_unassociated_alpha",
       make(8, 4, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE,
            extra_sample(EXTRASAMPLE_UNASSALPHA))},
      {"cmyk", make(8, 4, PHOTOMETRIC_SEPARATED, COMPRESSION_LZW,
                    tag16(TIFFTAG_INKSET, INKSET_CMYK))},
      {"ycbcr_none_2x2",
       make(8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_NONE, ycbcr(2, 2))},
      {"rgb_planar_separate", planar_separate(rgb(8, COMPRESSION_LZW))},
      {"tiled_gray", tiled(gray(8, COMPRESSION_LZW))},
      {"tiled_rgb", tiled(rgb(8, COMPRESSION_ADOBE_DEFLATE))},
      {"tiled_jpeg_ycbcr",
       tiled(make(8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_JPEG, kJpegFromRgb))},
      {"resolution_in_centimetres",
       gray(8, COMPRESSION_NONE, resolution(118.0, 59.5, RESUNIT_CENTIMETER))},
      {"resolution_in_inches",
       gray(8, COMPRESSION_NONE, resolution(300.0, 300.0, RESUNIT_INCH))},
      {"one_by_one", sized(gray(8, COMPRESSION_LZW), 1, 1, 1)},
      {"short_last_strip", sized(gray(8, COMPRESSION_PACKBITS), 9, 10, 4)},
  };
  return kinds;
}

}  // namespace plyfold::testing
