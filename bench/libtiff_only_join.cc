// The yardstick for start-up: a program linked with libtiff alone that
// joins two files the plain way (open, copy the baseline tags and strips,
// write directories, close).
#include <tiffio.h>

#include <vector>

namespace {

void copy_page(TIFF* in, TIFF* out) {
  uint32_t width, length, rows;
  uint16_t bits, samples, photometric, compression;
  TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(in, TIFFTAG_IMAGELENGTH, &length);
  TIFFGetFieldDefaulted(in, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(in, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(in, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetFieldDefaulted(in, TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(in, TIFFTAG_ROWSPERSTRIP, &rows);
  TIFFSetField(out, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(out, TIFFTAG_IMAGELENGTH, length);
  TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, bits);
  TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(out, TIFFTAG_PHOTOMETRIC, photometric);
  TIFFSetField(out, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, rows);
  std::vector<char> buffer(static_cast<std::size_t>(TIFFStripSize(in)));
  for (uint32_t strip = 0; strip < TIFFNumberOfStrips(in); ++strip) {
    const tmsize_t read = TIFFReadEncodedStrip(in, strip, buffer.data(), -1);
    TIFFWriteEncodedStrip(out, strip, buffer.data(), read);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  TIFF* out = TIFFOpen(argv[3], "w");
  if (out == nullptr) return 1;
  for (int i = 1; i <= 2; ++i) {
    TIFF* in = TIFFOpen(argv[i], "r");
    if (in == nullptr) return 1;
    do {
      copy_page(in, out);
      TIFFWriteDirectory(out);
    } while (TIFFReadDirectory(in));
    TIFFClose(in);
  }
  TIFFClose(out);
  return 0;
}
