// Every common kind of page comes out of a join as it went in: decoded
// samples bit-exact (JPEG: the stored data byte-exact), the tags that decide
// how pixels are read equal, descriptive tags dropped.
#include "tests/support/page_kinds.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "combine/combine_inputs.h"
#include "tests/support/recording_message_box.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

// Tags that decide how the samples are read, and so must be carried.
const uint32_t kCarriedTags[] = {
    TIFFTAG_SUBFILETYPE,      TIFFTAG_IMAGEWIDTH,
    TIFFTAG_IMAGELENGTH,      TIFFTAG_BITSPERSAMPLE,
    TIFFTAG_COMPRESSION,      TIFFTAG_PHOTOMETRIC,
    TIFFTAG_FILLORDER,        TIFFTAG_ORIENTATION,
    TIFFTAG_SAMPLESPERPIXEL,  TIFFTAG_ROWSPERSTRIP,
    TIFFTAG_XRESOLUTION,      TIFFTAG_YRESOLUTION,
    TIFFTAG_PLANARCONFIG,     TIFFTAG_RESOLUTIONUNIT,
    TIFFTAG_COLORMAP,         TIFFTAG_EXTRASAMPLES,
    TIFFTAG_SAMPLEFORMAT,     TIFFTAG_YCBCRSUBSAMPLING,
    TIFFTAG_YCBCRPOSITIONING, TIFFTAG_REFERENCEBLACKWHITE,
    TIFFTAG_INKSET,           TIFFTAG_TILEWIDTH,
    TIFFTAG_TILELENGTH,       TIFFTAG_JPEGTABLES,
};

// Tags that describe the page and must not be carried.
const uint32_t kDroppedTags[] = {TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_SOFTWARE,
                                 TIFFTAG_DATETIME,         TIFFTAG_ARTIST,
                                 TIFFTAG_ICCPROFILE,       TIFFTAG_PREDICTOR};

// The page as written, with descriptive tags added.
PageSpec described(const PageSpec& page, uint8_t seed) {
  PageSpec out = page;
  out.seed = seed;
  out.extra_tags = [tags = page.extra_tags](TIFF* tiff) {
    static const uint8_t profile[] = {1, 2, 3, 4, 5, 6, 7, 8};
    TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, "a page");
    TIFFSetField(tiff, TIFFTAG_SOFTWARE, "a scanner");
    TIFFSetField(tiff, TIFFTAG_DATETIME, "2026:12:11 10:00:00");
    TIFFSetField(tiff, TIFFTAG_ARTIST, "somebody");
    TIFFSetField(tiff, TIFFTAG_ICCPROFILE, 8u, profile);
    if (tags) tags(tiff);
  };
  return out;
}

void expect_same_page(const std::string& in, int in_page,
                      const std::string& out, int out_page) {
  for (uint32_t tag : kCarriedTags) {
    EXPECT_EQ(tag_text(out, out_page, tag), tag_text(in, in_page, tag))
        << "tag " << tag;
  }
  for (uint32_t tag : kDroppedTags) {
    EXPECT_EQ(tag_text(out, out_page, tag), "absent") << "tag " << tag;
  }
  const auto decoded = decoded_units(in, in_page);
  ASSERT_FALSE(decoded.empty());
  EXPECT_EQ(decoded_units(out, out_page), decoded);
  uint16_t compression = 0;
  TIFF* tiff = TIFFOpen(in.c_str(), "r");
  TIFFSetDirectory(tiff, static_cast<tdir_t>(in_page));
  TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
  TIFFClose(tiff);
  if (compression == COMPRESSION_JPEG) {
    EXPECT_EQ(raw_units(out, out_page), raw_units(in, in_page));
  }
}

class PageKindTest : public TempFolderTest,
                     public ::testing::WithParamInterface<std::size_t> {};

// Each kind is joined after the one before it in the table, so every kind
// is copied both as a first and as a second page.
TEST_P(PageKindTest, JoinedPageEqualsItsInput) {
  const std::size_t count = page_kinds().size();
  const PageKind& first = page_kinds()[GetParam()];
  const PageKind& second = page_kinds()[(GetParam() + 1) % count];
  ASSERT_TRUE(write_tiff(path("first.tif"), {described(first.page, 3)}));
  ASSERT_TRUE(write_tiff(path("second.tif"), {described(second.page, 4)}));
  EXPECT_TRUE(
      combine_inputs({path("first.tif"), path("second.tif")}, path("out.tif")));
  EXPECT_TRUE(shown_messages().empty());
  ASSERT_EQ(count_pages(path("out.tif")), 2);
  {
    SCOPED_TRACE(first.name);
    expect_same_page(path("first.tif"), 0, path("out.tif"), 0);
  }
  {
    SCOPED_TRACE(second.name);
    expect_same_page(path("second.tif"), 0, path("out.tif"), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PageKindTest,
                         ::testing::Range<std::size_t>(0, page_kinds().size()),
                         [](const auto& test) {
                           return std::string(page_kinds()[test.param].name);
                         });

class MixedPagesTest : public TempFolderTest {};

TEST_F(MixedPagesTest, MultiPageInputOfMixedKinds) {
  std::vector<PageSpec> pages;
  for (const char* name : {"bilevel_g4", "rgb8_jpeg_ycbcr_2x2", "palette8",
                           "tiled_rgb", "float32_floating_point_predictor"}) {
    for (const PageKind& kind : page_kinds()) {
      if (kind.name == std::string(name)) {
        pages.push_back(
            described(kind.page, static_cast<uint8_t>(pages.size())));
      }
    }
  }
  ASSERT_EQ(pages.size(), 5u);
  ASSERT_TRUE(write_tiff(path("mixed.tif"), pages));
  ASSERT_TRUE(
      write_tiff(path("one.tif"), {described(page_kinds()[0].page, 9)}));
  EXPECT_TRUE(
      combine_inputs({path("mixed.tif"), path("one.tif"), path("mixed.tif")},
                     path("out.tif")));
  ASSERT_EQ(count_pages(path("out.tif")), 11);
  for (int page = 0; page < 5; ++page) {
    SCOPED_TRACE(page);
    expect_same_page(path("mixed.tif"), page, path("out.tif"), page);
    expect_same_page(path("mixed.tif"), page, path("out.tif"), page + 6);
  }
  expect_same_page(path("one.tif"), 0, path("out.tif"), 5);
}

// A complete JPEG stream (tables inside) of a 32x16 YCbCr 2x2 image, as an
// old-style JPEG strip holds it.
std::string jpeg_stream(const std::string& scratch) {
  PageSpec page = make(8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_JPEG, [](TIFF* t) {
    TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    TIFFSetField(t, TIFFTAG_JPEGTABLESMODE, 0);
  });
  page = sized(page, 32, 16, 16);
  if (!write_tiff(scratch, {page})) return "";
  const auto strips = raw_units(scratch, 0);
  return strips.empty() ? "" : std::string(strips[0].begin(), strips[0].end());
}

// Pages whose compression libtiff decodes but cannot encode are written
// with Deflate instead, every other tag as it was, samples bit-exact.
TEST_F(MixedPagesTest, DecodeOnlyPagesAreReencodedLosslessly) {
  PageSpec old_jpeg =
      sized(make(8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_OJPEG, ycbcr(2, 2)), 32,
            16, 16);
  const std::string stream = jpeg_stream(path("scratch.tif"));
  ASSERT_FALSE(stream.empty());
  ASSERT_TRUE(write_stored_strips(path("old_jpeg.tif"), old_jpeg, {stream}));

  // NeXT 2-bit: each row stored literally behind a 0x00 code.
  PageSpec next =
      sized(make(2, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_NEXT), 8, 3, 3);
  const std::string rows("\x00\x1b\xe4\x00\xff\x00\x00\x55\xaa", 9);
  ASSERT_TRUE(write_stored_strips(path("next.tif"), next, {rows}));

  EXPECT_TRUE(combine_inputs({path("old_jpeg.tif"), path("next.tif")},
                             path("out.tif")));
  ASSERT_EQ(count_pages(path("out.tif")), 2);
  const std::string inputs[] = {path("old_jpeg.tif"), path("next.tif")};
  for (int page = 0; page < 2; ++page) {
    SCOPED_TRACE(inputs[page]);
    EXPECT_EQ(tag_text(path("out.tif"), page, TIFFTAG_COMPRESSION),
              std::to_string(double{COMPRESSION_ADOBE_DEFLATE}));
    for (uint32_t tag : kCarriedTags) {
      if (tag == TIFFTAG_COMPRESSION) continue;
      EXPECT_EQ(tag_text(path("out.tif"), page, tag),
                tag_text(inputs[page], 0, tag))
          << "tag " << tag;
    }
    const auto decoded = decoded_units(inputs[page], 0);
    ASSERT_FALSE(decoded.empty());
    EXPECT_FALSE(decoded[0].empty());
    EXPECT_EQ(decoded_units(path("out.tif"), page), decoded);
  }
  EXPECT_EQ(decoded_units(path("out.tif"), 1),
            (std::vector<std::vector<uint8_t>>{
                {0x1b, 0xe4, 0xff, 0x00, 0x55, 0xaa}}));
}

}  // namespace
}  // namespace plyfold::testing
