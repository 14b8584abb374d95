// A message box for tests: records each message instead of showing it.
#ifndef PLYFOLD_TESTS_SUPPORT_RECORDING_MESSAGE_BOX_H_
#define PLYFOLD_TESTS_SUPPORT_RECORDING_MESSAGE_BOX_H_

#include <functional>
#include <string>
#include <vector>

namespace plyfold::testing {

struct ShownMessage {
  std::string caption;
  std::string text;
};

// Every message shown since the last clear_messages(), in order.
const std::vector<ShownMessage>& shown_messages();
void clear_messages();

// Called while a message is "up", i.e. before the box returns.
void on_message(std::function<void()> hook);

}  // namespace plyfold::testing

#endif  // PLYFOLD_TESTS_SUPPORT_RECORDING_MESSAGE_BOX_H_
