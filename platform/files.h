// What the file system says about a path.
#ifndef PLYFOLD_PLATFORM_FILES_H_
#define PLYFOLD_PLATFORM_FILES_H_

#include <cstdint>

namespace plyfold {

struct FileFacts {
  bool exists = false;
  bool folder = false;
  bool regular = false;  // a plain file: no folder, FIFO, device or socket
  uint64_t device = 0;   // device and inode together name the file
  uint64_t inode = 0;
  uint64_t size = 0;
};

// The facts of the file that `path` names, links followed; `exists` is false
// when there is none.
FileFacts file_facts(const char* path);

// True when both facts name the same existing file.
inline bool same_file(const FileFacts& a, const FileFacts& b) {
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

}  // namespace plyfold

#endif  // PLYFOLD_PLATFORM_FILES_H_
