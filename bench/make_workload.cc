// Makes the benchmark inputs, deterministically.
//   make_workload tiny FOLDER            two 1-page 64x64 grey files
//   make_workload fax FOLDER [N]         N 1-page G4 A4 pages at 200 dpi
//   make_workload photo FOLDER           8 files of 4 RGB 3000x2000 LZW pages
//   make_workload raw FOLDER             4 files of 2 8000x8000 grey pages
//   make_workload deflate16 FOLDER       4 files of 16-bit RGB 2000x2000
//   make_workload jpeg FOLDER            8 files of 4 RGB 3000x2000 JPEG pages
//   make_workload tiled FOLDER           4 files of 2 tiled 8000x8000 RGB
//   make_workload pages FOLDER N         N 1-page 256x256 grey LZW files
//   make_workload long FOLDER N          one file of N such pages
// A trailing "small" argument divides every page side by 8 (smoke runs).
// Each writes FOLDER/list, naming the files in order.
#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Page {
  uint32_t width, height, rows_per_strip;
  uint16_t bits, samples, photometric, compression, predictor;
  uint32_t tile = 0;
};

uint32_t g_divisor = 1;

// Image content with structure (gradients, text-like runs) and some noise,
// so that codecs work as on real scans and photos.
void fill(std::vector<uint8_t>& bytes, uint32_t row0, uint32_t width,
          uint16_t bits, uint16_t samples, uint32_t seed) {
  const std::size_t row_bytes = bytes.size();
  uint32_t state = seed * 2654435761u + row0;
  for (std::size_t i = 0; i < row_bytes; ++i) {
    state = state * 1103515245u + 12345u;
    if (bits == 1) {
      const uint32_t x = static_cast<uint32_t>(i * 8 % ((width + 7) / 8 * 8));
      const bool ink =
          (row0 / 12 + x / 40 + seed) % 7 == 0 && (state >> 24) < 200;
      bytes[i] = ink ? static_cast<uint8_t>(state >> 8) : 0;
    } else {
      const std::size_t pixel = i / samples;
      bytes[i] = static_cast<uint8_t>(pixel / 7 + row0 / 3 + seed * 31 +
                                      ((state >> 28) & 3));
    }
  }
}

bool write_file(const std::string& path, const std::vector<Page>& pages,
                uint32_t seed, bool big = false) {
  TIFF* tiff = TIFFOpen(path.c_str(), big ? "w8" : "w");
  if (tiff == nullptr) return false;
  for (const Page& original : pages) {
    Page p = original;
    p.width = std::max<uint32_t>(p.width / g_divisor, 16);
    p.height = std::max<uint32_t>(p.height / g_divisor, 16);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, p.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, p.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, p.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, p.samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, p.photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, p.compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (p.predictor) TIFFSetField(tiff, TIFFTAG_PREDICTOR, p.predictor);
    if (p.compression == COMPRESSION_JPEG) {
      TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 90);
    }
    if (p.bits == 1) {
      TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 200.0);
      TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 200.0);
      TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    const std::size_t row_bytes =
        (static_cast<std::size_t>(p.width) * p.samples * p.bits + 7) / 8;
    if (p.tile) {
      TIFFSetField(tiff, TIFFTAG_TILEWIDTH, p.tile);
      TIFFSetField(tiff, TIFFTAG_TILELENGTH, p.tile);
      std::vector<uint8_t> tile(static_cast<std::size_t>(TIFFTileSize(tiff)));
      for (uint32_t t = 0; t < TIFFNumberOfTiles(tiff); ++t) {
        fill(tile, t, p.tile, p.bits, p.samples, seed + t);
        if (TIFFWriteEncodedTile(tiff, t, tile.data(),
                                 static_cast<tmsize_t>(tile.size())) < 0) {
          return false;
        }
      }
    } else {
      TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, p.rows_per_strip);
      std::vector<uint8_t> strip;
      for (uint32_t s = 0; s < TIFFNumberOfStrips(tiff); ++s) {
        const uint32_t row0 = s * p.rows_per_strip;
        const uint32_t rows = std::min(p.rows_per_strip, p.height - row0);
        strip.resize(row_bytes * rows);
        fill(strip, row0, p.width, p.bits, p.samples, seed);
        if (TIFFWriteEncodedStrip(tiff, s, strip.data(),
                                  static_cast<tmsize_t>(strip.size())) < 0) {
          return false;
        }
      }
    }
    if (!TIFFWriteDirectory(tiff)) return false;
  }
  TIFFClose(tiff);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s KIND FOLDER [COUNT] [small]\n", argv[0]);
    return 2;
  }
  const std::string kind = argv[1];
  const std::string folder = argv[2];
  int count = 0;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "small") == 0) {
      g_divisor = 8;
    } else {
      count = std::atoi(argv[i]);
    }
  }
  const Page gray64 = {
      64, 64, 64, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE, 0};
  const Page fax = {
      1728, 2200, 128, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4, 0};
  const Page photo = {3000, 2000, 64, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW,
                      0};
  const Page raw = {
      8000, 8000, 64, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE, 0};
  const Page deflate16 = {
      2000, 2000, 32, 16, 3, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, 0};
  const Page jpeg = {3000, 2000, 64, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_JPEG,
                     0};
  const Page tiled = {8000, 8000, 0, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW,
                      0,    256};
  const Page small = {
      256, 256, 64, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW, 0};

  // Which files hold which pages.
  std::vector<std::vector<Page>> files;
  auto add_files = [&](int n, int pages_each, Page page, bool half_predicted) {
    for (int f = 0; f < n; ++f) {
      Page p = page;
      if (half_predicted && f % 2 == 1) p.predictor = PREDICTOR_HORIZONTAL;
      files.emplace_back(pages_each, p);
    }
  };
  if (kind == "tiny") {
    add_files(2, 1, gray64, false);
  } else if (kind == "fax") {
    add_files(count ? count : 1000, 1, fax, false);
  } else if (kind == "photo") {
    add_files(8, 4, photo, true);
  } else if (kind == "raw") {
    add_files(4, 2, raw, false);
  } else if (kind == "deflate16") {
    add_files(4, 1, deflate16, true);
  } else if (kind == "jpeg") {
    add_files(8, 4, jpeg, false);
  } else if (kind == "tiled") {
    add_files(4, 2, tiled, false);
  } else if (kind == "pages") {
    add_files(count, 1, small, false);
  } else if (kind == "long") {
    add_files(1, count, small, false);
  } else {
    std::fprintf(stderr, "unknown workload %s\n", kind.c_str());
    return 2;
  }

  std::string list;
  for (std::size_t f = 0; f < files.size(); ++f) {
    const std::string path = folder + "/in" + std::to_string(f) + ".tif";
    if (!write_file(path, files[f], static_cast<uint32_t>(f))) {
      std::fprintf(stderr, "could not write %s\n", path.c_str());
      return 1;
    }
    list += path + "\n";
  }
  std::FILE* out = std::fopen((folder + "/list").c_str(), "wb");
  if (out == nullptr) return 1;
  std::fputs(list.c_str(), out);
  std::fclose(out);
  return 0;
}
