// File facts from stat(2).
#include <sys/stat.h>

#include "platform/files.h"

namespace plyfold {

FileFacts file_facts(const char* path) {
  struct stat info;
  FileFacts facts;
  if (stat(path, &info) != 0) return facts;
  facts.exists = true;
  facts.folder = S_ISDIR(info.st_mode);
  facts.regular = S_ISREG(info.st_mode);
  facts.device = static_cast<uint64_t>(info.st_dev);
  facts.inode = static_cast<uint64_t>(info.st_ino);
  facts.size = static_cast<uint64_t>(info.st_size);
  return facts;
}

}  // namespace plyfold
