// The message box on Windows.
#include <windows.h>

#include "platform/message_box.h"

namespace plyfold {

void show_message_box(const char* caption, const char* text) {
  MessageBoxA(nullptr, text, caption, MB_OK);
}

}  // namespace plyfold
