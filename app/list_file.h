// The list file: one input path per line.
//
// Format, applied the same on every platform:
//   - bytes are taken as they stand: no code page, byte-order mark, quoting
//     or comments;
//   - the data end at the end of the file or before the first 0x1A byte;
//   - CR LF reads as LF; any other CR is an ordinary byte;
//   - the data are cut into pieces that end after a LF, at 1022 bytes, or at
//     the end of the data;
//   - a piece is cut at its first NUL, then loses a final LF; what is left,
//     if not empty, is one entry.
#ifndef PLYFOLD_APP_LIST_FILE_H_
#define PLYFOLD_APP_LIST_FILE_H_

#include <cstddef>
#include <cstdio>
#include <string>

#include "app/input_list.h"

namespace plyfold {

inline constexpr std::size_t kMaxListEntryBytes = 1022;

// Appends the entries of the list data in `file`, read to their end, to
// `inputs`. A read error counts as the end of the data.
void append_list_entries(std::FILE* file, InputList& inputs);

// Opens the list file at `path`, appends its entries to `inputs` and closes
// it. When it cannot be opened (missing, unreadable, a folder), shows the
// list file message and returns false with `inputs` untouched.
bool read_list_file(const std::string& path, InputList& inputs);

}  // namespace plyfold

#endif  // PLYFOLD_APP_LIST_FILE_H_
