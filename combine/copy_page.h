// Copies one page (directory) of an input TIFF into the output TIFF.
#ifndef PLYFOLD_COMBINE_COPY_PAGE_H_
#define PLYFOLD_COMBINE_COPY_PAGE_H_

#include <tiffio.h>

namespace plyfold {

// How a page copy went. A page with both kinds of failure is kWriteFailed.
enum class PageCopy {
  kCopied,
  kReadFailed,   // a strip could not be decoded; it was written zero-filled
  kWriteFailed,  // a strip could not be written to the output
  kRefused,      // no buffer for the page's strips (an implausible size, or
                 // no memory): nothing was set on the output
};

// Copies the tags and every strip (or tile) of `input`'s current directory
// into `output`'s current directory, printing one progress line per strip
// on standard output. Writes, opens and moves no directory of either file.
PageCopy copy_page(TIFF* input, TIFF* output);

}  // namespace plyfold

#endif  // PLYFOLD_COMBINE_COPY_PAGE_H_
