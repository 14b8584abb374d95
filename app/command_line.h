// The run as a whole: argument check, choice of mode, join, exit status.
#ifndef PLYFOLD_APP_COMMAND_LINE_H_
#define PLYFOLD_APP_COMMAND_LINE_H_

namespace plyfold {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // any failure after the usage check
inline constexpr int kExitUsage = 2;    // not exactly three arguments

// Runs Plyfold on argv[1..3] (argv[0] is never read) and returns the exit
// status: kExitSuccess only when every page was copied without a failure.
int run_plyfold(int argc, char** argv);

}  // namespace plyfold

#endif  // PLYFOLD_APP_COMMAND_LINE_H_
