// Every text that Plyfold shows the user, and the one function that shows it.
#ifndef PLYFOLD_APP_MESSAGES_H_
#define PLYFOLD_APP_MESSAGES_H_

#include <cstddef>

namespace plyfold {

inline constexpr char kCaption[] = "Plyfold";

// printf-style formats; each %s takes a path, byte for byte.
inline constexpr char kUsageMessage[] =
    "Please specify two files or list of files to combine\n"
    "plyfold first_file.tif second_file.tif output.tif\n"
    "plyfold /L file_list output.tif";
inline constexpr char kListFileMessage[] = "Could not open list file %s\n";
inline constexpr char kOutputFileMessage[] = "Could not open output file %s";
inline constexpr char kInputFileMessage[] = "Could not read input file %s";
inline constexpr char kOutputIsInputMessage[] =
    "Output file %s is also an input file";
inline constexpr char kWriteFailedMessage[] = "Could not write output file %s";

// A shown text holds at most this many bytes less one; longer ones are cut.
inline constexpr std::size_t kMessageBufferSize = 1024;

// Formats the message into a buffer of kMessageBufferSize bytes and shows it
// in a box captioned kCaption; returns once the user has dismissed it.
void notify_user(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace plyfold

#endif  // PLYFOLD_APP_MESSAGES_H_
