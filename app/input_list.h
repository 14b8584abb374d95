// The ordered list of input paths that one run joins.
#ifndef PLYFOLD_APP_INPUT_LIST_H_
#define PLYFOLD_APP_INPUT_LIST_H_

#include <string>
#include <vector>

namespace plyfold {

// Input paths in join order, each used byte for byte; duplicates allowed.
using InputList = std::vector<std::string>;

}  // namespace plyfold

#endif  // PLYFOLD_APP_INPUT_LIST_H_
