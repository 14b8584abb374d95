// The fuzzers show no messages.
#include "platform/message_box.h"

namespace plyfold {

void show_message_box(const char*, const char*) {}

}  // namespace plyfold
