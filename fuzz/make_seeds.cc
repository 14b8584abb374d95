// Writes the fuzzers' seed corpora: one small TIFF file of every page kind
// the tests know, a multi-page one, and a few list files.
#include <string>

#include "tests/support/page_kinds.h"
#include "tests/support/tiff_fixtures.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string tiffs = argv[1];
  const std::string lists = argv[2];
  using plyfold::testing::page_kinds;
  using plyfold::testing::PageSpec;
  std::vector<PageSpec> mixed;
  for (const auto& kind : page_kinds()) {
    // Small pages keep each execution quick.
    const bool jpeg = kind.page.compression == COMPRESSION_JPEG;
    PageSpec page = jpeg ? plyfold::testing::sized(kind.page, 16, 16, 16)
                         : plyfold::testing::sized(kind.page, 12, 10, 4);
    if (kind.page.tile_width) page = kind.page;
    if (!plyfold::testing::write_tiff(tiffs + "/" + kind.name + ".tif",
                                      {page})) {
      return 1;
    }
    if (mixed.size() < 4) mixed.push_back(page);
  }
  if (!plyfold::testing::write_tiff(tiffs + "/mixed.tif", mixed)) return 1;
  const std::string examples[] = {"a.tif\nb.tif\n",
                                  "a.tif\r\nb.tif\r\n",
                                  "a\r\r\nb\rc",
                                  " x \n\n\ny",
                                  "a\x1a"
                                  "b",
                                  std::string("a\0b\nc", 5),
                                  std::string(1500, 'x') + "\n"};
  int n = 0;
  for (const std::string& example : examples) {
    plyfold::testing::write_file(lists + "/list" + std::to_string(n++),
                                 example);
  }
  return 0;
}
