// The platform's modal message box.
#ifndef PLYFOLD_PLATFORM_MESSAGE_BOX_H_
#define PLYFOLD_PLATFORM_MESSAGE_BOX_H_

namespace plyfold {

// Shows `text` under `caption` with a single acknowledging button and returns
// once the user has dismissed it. Failure to show it is not reported.
// Resolved at link time: the program links the platform's box, the tests
// link a recorder.
void show_message_box(const char* caption, const char* text);

}  // namespace plyfold

#endif  // PLYFOLD_PLATFORM_MESSAGE_BOX_H_
