// Fuzzes the list file reader: arbitrary bytes in, entries checked against a
// second, independent model of the list file rules and against the
// invariants every entry keeps.
#include <stdio.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/list_file.h"

namespace {

// The rules applied one at a time over the whole data, not byte by byte:
// cut at 0x1A, turn every CR LF into LF, then cut pieces and entries.
plyfold::InputList model(std::string data) {
  const std::size_t end = data.find('\x1a');
  if (end != std::string::npos) data.erase(end);
  std::string folded;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') {
      continue;  // the LF that follows stands for the pair
    }
    folded += data[i];
  }
  plyfold::InputList entries;
  std::size_t start = 0;
  while (start < folded.size()) {
    const std::size_t newline = folded.find('\n', start);
    const std::size_t line_end =
        newline == std::string::npos ? folded.size() : newline + 1;
    const std::size_t piece_end =
        std::min(line_end, start + plyfold::kMaxListEntryBytes);
    std::string piece = folded.substr(start, piece_end - start);
    piece = piece.substr(0, piece.find('\0'));
    if (!piece.empty() && piece.back() == '\n') piece.pop_back();
    if (!piece.empty()) entries.push_back(piece);
    start = piece_end;
  }
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
  if (file == nullptr) return 0;  // fmemopen refuses an empty buffer
  plyfold::InputList entries;
  plyfold::append_list_entries(file, entries);
  fclose(file);

  for (const std::string& entry : entries) {
    if (entry.empty() || entry.size() > plyfold::kMaxListEntryBytes ||
        entry.find('\0') != std::string::npos ||
        entry.find('\n') != std::string::npos) {
      std::abort();
    }
  }
  if (entries != model(bytes)) std::abort();
  return 0;
}
