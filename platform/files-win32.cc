// File facts on Windows: volume serial number and file index name a file.
#include <windows.h>

#include "platform/files.h"

namespace plyfold {

FileFacts file_facts(const char* path) {
  FileFacts facts;
  // Backup semantics let a folder be opened too; no access is asked for.
  HANDLE file = CreateFileA(
      path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return facts;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(file, &info)) {
    facts.exists = true;
    facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.regular = !facts.folder && GetFileType(file) == FILE_TYPE_DISK;
    facts.device = info.dwVolumeSerialNumber;
    facts.inode = uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    facts.size = uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
  }
  CloseHandle(file);
  return facts;
}

}  // namespace plyfold
