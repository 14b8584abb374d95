// The message box where no dialog toolkit is used: the text on standard
// error.
#include "platform/message_box.h"
#include "platform/stderr_message.h"

namespace plyfold {

void show_message_box(const char* caption, const char* text) {
  write_message_to_stderr(caption, text);
}

}  // namespace plyfold
