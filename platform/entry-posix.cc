// Program entry on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "app/command_line.h"

namespace {

// A standard stream that the parent closed would otherwise be handed out as
// the output file's descriptor, and progress lines or libtiff's diagnostics
// would land inside the TIFF file.
void occupy_closed_standard_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  occupy_closed_standard_streams();
  // A reader that stops early (`plyfold ... | head -1`) must not end the join.
  signal(SIGPIPE, SIG_IGN);
  return plyfold::run_plyfold(argc, argv);
}
