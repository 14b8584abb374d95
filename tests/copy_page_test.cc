// The page copier: tags carried, strips re-encoded, one progress line each.
#include "combine/copy_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/temp_folder.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

struct CopyResult {
  PageCopy copy;
  std::string progress;
};

class CopyPageTest : public TempFolderTest {
 protected:
  // Copies page 0 of `input` alone into `output`.
  CopyResult copy_first_page(const std::string& input,
                             const std::string& output) {
    TIFF* in = TIFFOpen(input.c_str(), "r");
    TIFF* out = TIFFOpen(output.c_str(), "w");
    EXPECT_TRUE(in && out);
    if (!in || !out) return {PageCopy::kWriteFailed, ""};
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    const PageCopy copy = copy_page(in, out);
    std::fflush(stdout);
    CopyResult result{copy, ::testing::internal::GetCapturedStdout()};
    EXPECT_EQ(TIFFCurrentDirectory(in), 0);
    TIFFClose(in);
    TIFFClose(out);
    return result;
  }
};

TEST_F(CopyPageTest, OneProgressLinePerStripWithTheShortLastOne) {
  PageSpec page;
  page.width = 10;
  page.height = 7;
  page.rows_per_strip = 3;  // strips of 3, 3 and 1 rows
  page.compression = COMPRESSION_PACKBITS;
  ASSERT_TRUE(write_tiff(path("in.tif"), {page}));
  const CopyResult result = copy_first_page(path("in.tif"), path("out.tif"));
  EXPECT_EQ(result.copy, PageCopy::kCopied);
  EXPECT_EQ(result.progress,
            "Strip read: 30, Strip wrote: 30\n"
            "Strip read: 30, Strip wrote: 30\n"
            "Strip read: 10, Strip wrote: 10\n");
  EXPECT_EQ(decoded_units(path("out.tif"), 0),
            decoded_units(path("in.tif"), 0));
}

TEST_F(CopyPageTest, TiledPageGetsOneLinePerTile) {
  PageSpec page;
  page.width = 40;  // 3 x 2 tiles of 16 x 16, partial at the edges
  page.height = 20;
  page.tile_width = 16;
  page.tile_length = 16;
  page.compression = COMPRESSION_LZW;
  ASSERT_TRUE(write_tiff(path("in.tif"), {page}));
  const CopyResult result = copy_first_page(path("in.tif"), path("out.tif"));
  EXPECT_EQ(result.copy, PageCopy::kCopied);
  std::string expected;
  for (int tile = 0; tile < 6; ++tile) {
    expected += "Tile read: 256, Tile wrote: 256\n";
  }
  EXPECT_EQ(result.progress, expected);
}

TEST_F(CopyPageTest, JpegPageReportsTheEncodedBytesMoved) {
  PageSpec page;
  page.width = 32;
  page.height = 40;
  page.rows_per_strip = 16;
  page.samples_per_pixel = 3;
  page.photometric = PHOTOMETRIC_YCBCR;
  page.compression = COMPRESSION_JPEG;
  page.extra_tags = [](TIFF* tiff) {
    TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
  };
  ASSERT_TRUE(write_tiff(path("in.tif"), {page}));
  const CopyResult result = copy_first_page(path("in.tif"), path("out.tif"));
  EXPECT_EQ(result.copy, PageCopy::kCopied);
  std::string expected;
  for (const auto& strip : raw_units(path("in.tif"), 0)) {
    const std::string size = std::to_string(strip.size());
    expected += "Strip read: " + size + ", Strip wrote: " + size + "\n";
  }
  EXPECT_EQ(result.progress, expected);
  EXPECT_EQ(raw_units(path("out.tif"), 0), raw_units(path("in.tif"), 0));
}

TEST_F(CopyPageTest, CarriesTheBaselineTagsAndNoOthers) {
  PageSpec page;
  page.width = 33;
  page.height = 5;
  page.bits_per_sample = 1;
  page.photometric = PHOTOMETRIC_MINISWHITE;
  page.compression = COMPRESSION_CCITTFAX4;
  page.rows_per_strip = 2;
  page.extra_tags = [](TIFF* tiff) {
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_BOTLEFT);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 300.0);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 150.5);
    TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, "scanned page");
    TIFFSetField(tiff, TIFFTAG_SOFTWARE, "scanner");
    TIFFSetField(tiff, TIFFTAG_DATETIME, "2026:01:02 03:04:05");
    TIFFSetField(tiff, TIFFTAG_ARTIST, "someone");
  };
  ASSERT_TRUE(write_tiff(path("in.tif"), {page}));
  EXPECT_EQ(copy_first_page(path("in.tif"), path("out.tif")).copy,
            PageCopy::kCopied);

  const uint32_t carried[] = {
      TIFFTAG_SUBFILETYPE,   TIFFTAG_IMAGEWIDTH,  TIFFTAG_IMAGELENGTH,
      TIFFTAG_BITSPERSAMPLE, TIFFTAG_COMPRESSION, TIFFTAG_PHOTOMETRIC,
      TIFFTAG_FILLORDER,     TIFFTAG_ORIENTATION, TIFFTAG_SAMPLESPERPIXEL,
      TIFFTAG_ROWSPERSTRIP,  TIFFTAG_XRESOLUTION, TIFFTAG_YRESOLUTION,
      TIFFTAG_PLANARCONFIG};
  for (uint32_t tag : carried) {
    const TagReading in = read_tag(path("in.tif"), 0, tag);
    const TagReading out = read_tag(path("out.tif"), 0, tag);
    EXPECT_TRUE(in.present) << tag;
    EXPECT_TRUE(out.present) << tag;
    EXPECT_EQ(out.value, in.value) << tag;
  }
  EXPECT_EQ(read_tag(path("out.tif"), 0, TIFFTAG_XRESOLUTION).value, 300.0);
  for (uint32_t tag : {TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_SOFTWARE,
                       TIFFTAG_DATETIME, TIFFTAG_ARTIST}) {
    EXPECT_TRUE(read_tag(path("in.tif"), 0, tag).present) << tag;
    EXPECT_FALSE(read_tag(path("out.tif"), 0, tag).present) << tag;
  }
  EXPECT_EQ(decoded_units(path("out.tif"), 0),
            decoded_units(path("in.tif"), 0));
}

TEST_F(CopyPageTest, PageWithoutResolutionGetsNone) {
  ASSERT_TRUE(write_tiff(path("in.tif"), {PageSpec{}}));
  copy_first_page(path("in.tif"), path("out.tif"));
  EXPECT_FALSE(read_tag(path("out.tif"), 0, TIFFTAG_XRESOLUTION).present);
  EXPECT_FALSE(read_tag(path("out.tif"), 0, TIFFTAG_YRESOLUTION).present);
}

TEST_F(CopyPageTest, UndecodableStripBecomesBlankAndIsReported) {
  PageSpec page;
  page.width = 8;
  page.height = 5;
  page.rows_per_strip = 2;  // strips of 2, 2 and 1 rows
  page.compression = COMPRESSION_ADOBE_DEFLATE;
  ASSERT_TRUE(write_tiff(path("in.tif"), {page}));
  const auto original = decoded_units(path("in.tif"), 0);
  corrupt_strip(path("in.tif"), 2);

  const CopyResult result = copy_first_page(path("in.tif"), path("out.tif"));
  EXPECT_EQ(result.copy, PageCopy::kReadFailed);
  EXPECT_EQ(result.progress,
            "Strip read: 16, Strip wrote: 16\n"
            "Strip read: 16, Strip wrote: 16\n"
            "Strip read: -1, Strip wrote: 8\n");
  const auto copied = decoded_units(path("out.tif"), 0);
  ASSERT_EQ(copied.size(), 3u);
  EXPECT_EQ(copied[0], original[0]);
  EXPECT_EQ(copied[1], original[1]);
  EXPECT_EQ(copied[2], std::vector<uint8_t>(8, 0));
}

}  // namespace
}  // namespace plyfold::testing
