// Program entry on Windows: a windowed program that opens no window of its
// own. The arguments come from the runtime's split of the command line.
#include <windows.h>

#include <cstdlib>

#include "app/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return plyfold::run_plyfold(__argc, __argv);
}
