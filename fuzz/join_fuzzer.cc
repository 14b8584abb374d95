// Fuzzes the join: arbitrary bytes as the first input, joined with a small
// valid TIFF file into a scratch output. Whatever the bytes, the join must
// not crash, hang or leak; when it reports success, the output must open
// with libtiff and hold every page of both inputs.
#include <tiffio.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "combine/combine_inputs.h"
#include "tests/support/tiff_fixtures.h"

namespace {

// Scratch files in memory where the system has a tmpfs for it.
std::string scratch_folder() {
  std::string pattern = access("/dev/shm", W_OK) == 0
                            ? "/dev/shm/plyfold-fuzz-XXXXXX"
                            : "/tmp/plyfold-fuzz-XXXXXX";
  const char* folder = mkdtemp(pattern.data());
  if (folder == nullptr) std::abort();
  return folder;
}

void quiet(const char*, const char*, va_list) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // libtiff's complaints about broken input are expected by the thousand.
  TIFFSetErrorHandler(quiet);
  TIFFSetWarningHandler(quiet);
  // Progress lines too.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = scratch_folder();
  static const std::string fuzzed = folder + "/fuzzed.tif";
  static const std::string valid = folder + "/valid.tif";
  static const std::string output = folder + "/out.tif";
  static const bool made = [] {
    plyfold::testing::PageSpec page;
    page.width = 8;
    page.height = 4;
    page.compression = COMPRESSION_LZW;
    return plyfold::testing::write_tiff(valid, {page});
  }();
  if (!made) std::abort();

  plyfold::testing::write_file(
      fuzzed, std::string(reinterpret_cast<const char*>(data), size));
  const bool joined = plyfold::combine_inputs({fuzzed, valid}, output);
  if (joined) {
    const int pages = plyfold::testing::count_pages(output);
    if (pages != plyfold::testing::count_pages(fuzzed) + 1) std::abort();
  }
  return 0;
}
