#include "platform/stderr_message.h"

#include <cstdio>
#include <cstring>

namespace plyfold {

void write_message_to_stderr(const char* caption, const char* text) {
  const std::size_t length = std::strlen(text);
  const bool ends_in_newline = length > 0 && text[length - 1] == '\n';
  std::fprintf(stderr, "%s: %s%s", caption, text, ends_in_newline ? "" : "\n");
  std::fflush(stderr);
}

}  // namespace plyfold
