// Whether two paths name one file.
#ifndef PLYFOLD_PLATFORM_FILE_IDENTITY_H_
#define PLYFOLD_PLATFORM_FILE_IDENTITY_H_

namespace plyfold {

// True when both paths name the same existing file, however they are spelled
// (links followed); false when either does not exist.
bool same_existing_file(const char* a, const char* b);

}  // namespace plyfold

#endif  // PLYFOLD_PLATFORM_FILE_IDENTITY_H_
