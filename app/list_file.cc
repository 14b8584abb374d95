// Reads the list file by its own line-end and end-of-data rules.
#include "app/list_file.h"

#include <cstring>

#include "app/messages.h"
#include "platform/files.h"

namespace plyfold {
namespace {

constexpr int kEndOfData = 0x1A;

// One piece of the list data and the entry it gives.
struct Piece {
  char bytes[kMaxListEntryBytes];
  std::size_t length = 0;
};

void finish_piece(Piece& piece, InputList& inputs) {
  const void* nul = std::memchr(piece.bytes, '\0', piece.length);
  std::size_t length =
      nul ? static_cast<const char*>(nul) - piece.bytes : piece.length;
  if (length > 0 && piece.bytes[length - 1] == '\n') --length;
  if (length > 0) inputs.emplace_back(piece.bytes, length);
  piece.length = 0;
}

void add_byte(char byte, Piece& piece, InputList& inputs) {
  piece.bytes[piece.length++] = byte;
  if (byte == '\n' || piece.length == kMaxListEntryBytes) {
    finish_piece(piece, inputs);
  }
}

}  // namespace

void append_list_entries(std::FILE* file, InputList& inputs) {
  Piece piece;
  bool carriage_return_held = false;
  int c;
  while ((c = std::getc(file)) != EOF && c != kEndOfData) {
    if (carriage_return_held) {
      carriage_return_held = false;
      if (c == '\n') {
        add_byte('\n', piece, inputs);
        continue;
      }
      add_byte('\r', piece, inputs);
    }
    if (c == '\r') {
      carriage_return_held = true;
    } else {
      add_byte(static_cast<char>(c), piece, inputs);
    }
  }
  if (carriage_return_held) add_byte('\r', piece, inputs);
  if (piece.length > 0) finish_piece(piece, inputs);
}

bool read_list_file(const std::string& path, InputList& inputs) {
  // Some systems open a folder for reading as if it were an empty file.
  std::FILE* file = file_facts(path.c_str()).folder
                        ? nullptr
                        : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    notify_user(kListFileMessage, path.c_str());
    return false;
  }
  append_list_entries(file, inputs);
  std::fclose(file);
  return true;
}

}  // namespace plyfold
