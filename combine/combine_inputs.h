// Joins every page of every input into one multi-page output file.
#ifndef PLYFOLD_COMBINE_COMBINE_INPUTS_H_
#define PLYFOLD_COMBINE_COMBINE_INPUTS_H_

#include <string>

#include "app/input_list.h"

namespace plyfold {

// Writes every page of `inputs`, in list order and within an input in page
// order, as the pages of `output_path`. Refuses an output that is one of the
// inputs. Every problem is shown through notify_user; the first input that
// cannot be read, or the first failed write, ends the walk, and the output
// keeps the pages copied before it. Returns true when nothing failed.
bool combine_inputs(InputList inputs, const std::string& output_path);

}  // namespace plyfold

#endif  // PLYFOLD_COMBINE_COMBINE_INPUTS_H_
