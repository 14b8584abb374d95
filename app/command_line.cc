// Argument check, mode choice and exit status.
#include "app/command_line.h"

#include <utility>

#include "app/input_list.h"
#include "app/list_file.h"
#include "app/messages.h"
#include "combine/combine_inputs.h"

namespace plyfold {
namespace {

// True for "/L" and "/l" exactly.
bool is_list_switch(const char* argument) {
  // ASCII case folding only, and over the whole argument.
  return argument[0] == '/' && (argument[1] == 'L' || argument[1] == 'l') &&
         argument[2] == '\0';
}

}  // namespace

int run_plyfold(int argc, char** argv) {
  if (argc != 4) {
    notify_user("%s", kUsageMessage);
    return kExitUsage;
  }
  InputList inputs;
  if (is_list_switch(argv[1])) {
    if (!read_list_file(argv[2], inputs)) return kExitFailure;
  } else {
    inputs.push_back(argv[1]);
    inputs.push_back(argv[2]);
  }
  return combine_inputs(std::move(inputs), argv[3]) ? kExitSuccess
                                                    : kExitFailure;
}

}  // namespace plyfold
