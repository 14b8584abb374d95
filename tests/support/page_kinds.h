// Every common kind of TIFF page, as a table.
#ifndef PLYFOLD_TESTS_SUPPORT_PAGE_KINDS_H_
#define PLYFOLD_TESTS_SUPPORT_PAGE_KINDS_H_

#include <functional>
#include <vector>

#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {

struct PageKind {
  const char* name;
  PageSpec page;
};

// Bilevel in every fax and simple compression, grey, float, signed, palette,
// RGB, JPEG, alpha, CMYK, YCbCr, planar, tiled and odd-sized pages.
const std::vector<PageKind>& page_kinds();

using Tags = std::function<void(TIFF*)>;

// A 40x36 page in three strips, the last one short.
PageSpec make(uint16_t bits, uint16_t samples, uint16_t photometric,
              uint16_t compression, Tags tags = nullptr);
PageSpec sized(PageSpec page, uint32_t width, uint32_t height,
               uint32_t rows_per_strip);
// YCbCr subsampling, positioning and reference black and white.
Tags ycbcr(int horizontal, int vertical);

}  // namespace plyfold::testing

#endif  // PLYFOLD_TESTS_SUPPORT_PAGE_KINDS_H_
