// Message box for systems without a desktop dialog: the caption and the text
// on standard error, ending in exactly one line break.
#include <cstdio>
#include <cstring>

#include "platform/message_box.h"

namespace plyfold {

void show_message_box(const char* caption, const char* text) {
  const std::size_t length = std::strlen(text);
  const bool ends_in_newline = length > 0 && text[length - 1] == '\n';
  std::fprintf(stderr, "%s: %s%s", caption, text, ends_in_newline ? "" : "\n");
  std::fflush(stderr);
}

}  // namespace plyfold
