// Formats a message into a fixed buffer and hands it to the message box.
#include "app/messages.h"

#include <cstdarg>
#include <cstdio>

#include "platform/message_box.h"

namespace plyfold {

void notify_user(const char* format, ...) {
  // vsnprintf cuts an overlong text at kMessageBufferSize - 1 bytes and
  // always terminates it, so nothing lands past the buffer.
  char text[kMessageBufferSize];
  va_list values;
  va_start(values, format);
  std::vsnprintf(text, sizeof text, format, values);
  va_end(values);
  show_message_box(kCaption, text);
}

}  // namespace plyfold
