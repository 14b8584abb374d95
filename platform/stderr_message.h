// The message box's text form, for when no box can be shown.
#ifndef PLYFOLD_PLATFORM_STDERR_MESSAGE_H_
#define PLYFOLD_PLATFORM_STDERR_MESSAGE_H_

namespace plyfold {

// Writes "caption: text" to standard error, ending in exactly one line break.
void write_message_to_stderr(const char* caption, const char* text);

}  // namespace plyfold

#endif  // PLYFOLD_PLATFORM_STDERR_MESSAGE_H_
