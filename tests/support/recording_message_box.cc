// Replaces the platform's message box in the test binary.
#include "tests/support/recording_message_box.h"

#include "platform/message_box.h"

namespace plyfold {
namespace testing {
namespace {

std::vector<ShownMessage>& messages() {
  static std::vector<ShownMessage> shown;
  return shown;
}

std::function<void()>& hook() {
  static std::function<void()> while_shown;
  return while_shown;
}

}  // namespace

const std::vector<ShownMessage>& shown_messages() { return messages(); }

void clear_messages() {
  messages().clear();
  hook() = nullptr;
}

void on_message(std::function<void()> while_shown) {
  hook() = std::move(while_shown);
}

}  // namespace testing

void show_message_box(const char* caption, const char* text) {
  testing::messages().push_back({caption, text});
  if (testing::hook()) testing::hook()();
}

}  // namespace plyfold
