// The walk over the inputs and their directories, and the output's
// directory writes.
#include "combine/combine_inputs.h"

#include <tiffio.h>

#include "app/messages.h"
#include "combine/copy_page.h"
#include "platform/files.h"

namespace plyfold {
namespace {

// Inputs of more than this many bytes in all are joined into a BigTIFF
// file. Pages keep their own compression, so the output comes out about as
// large as the inputs; a dropped predictor or a lossless re-encoding can make
// a page larger, but far from four times, and classic TIFF ends at 4 GiB.
constexpr uint64_t kBigTiffInputBytes = uint64_t{1} << 30;

// What the driver learns of the inputs before it opens the output.
struct InputSurvey {
  bool output_is_an_input = false;
  uint64_t total_bytes = 0;
};

InputSurvey survey_inputs(const InputList& inputs,
                          const std::string& output_path) {
  InputSurvey survey;
  const FileFacts output = file_facts(output_path.c_str());
  for (const std::string& entry : inputs) {
    const FileFacts input = file_facts(entry.c_str());
    survey.output_is_an_input |= same_file(input, output);
    survey.total_bytes += input.size;
  }
  return survey;
}

struct InputWalk {
  bool strip_read_failed = false;
  bool unreadable = false;  // a further page could not be read or copied
  bool write_failed = false;
};

void note_page(PageCopy copy, InputWalk& walk) {
  walk.strip_read_failed |= copy == PageCopy::kReadFailed;
  walk.write_failed |= copy == PageCopy::kWriteFailed;
  walk.unreadable |= copy == PageCopy::kRefused;
}

// Copies every directory of `input` into consecutive output directories.
// The last one copied is left filled but unwritten.
InputWalk copy_every_page(TIFF* input, TIFF* output) {
  InputWalk walk;
  note_page(copy_page(input, output), walk);
  while (!walk.write_failed && !walk.unreadable && !TIFFLastDirectory(input)) {
    if (!TIFFReadDirectory(input)) {
      walk.unreadable = true;
      break;
    }
    if (!TIFFWriteDirectory(output)) {
      walk.write_failed = true;
      break;
    }
    note_page(copy_page(input, output), walk);
  }
  return walk;
}

// Opens an input for reading. Only plain files are tried: a TIFF file must
// be seekable, and opening a FIFO would wait for a writer that may never
// come.
TIFF* open_input(const char* entry) {
  return file_facts(entry).regular ? TIFFOpen(entry, "rm") : nullptr;
}

}  // namespace

bool combine_inputs(InputList inputs, const std::string& output_path) {
  const InputSurvey survey = survey_inputs(inputs, output_path);
  if (survey.output_is_an_input) {
    notify_user(kOutputIsInputMessage, output_path.c_str());
    return false;
  }
  const char* mode = survey.total_bytes > kBigTiffInputBytes ? "w8" : "w";
  TIFF* output = TIFFOpen(output_path.c_str(), mode);
  if (output == nullptr) {
    notify_user(kOutputFileMessage, output_path.c_str());
    return false;
  }

  bool succeeded = true;
  bool write_failed = false;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const char* entry = inputs[i].c_str();
    TIFF* input = open_input(entry);
    if (input == nullptr) {
      notify_user(kInputFileMessage, entry);
      succeeded = false;
      break;
    }
    const InputWalk walk = copy_every_page(input, output);
    TIFFClose(input);
    succeeded &= !walk.strip_read_failed;
    if (walk.write_failed) {
      write_failed = true;
      break;
    }
    if (walk.unreadable) {
      // The output is still open while the user reads this, as for an
      // input that cannot be opened at all.
      notify_user(kInputFileMessage, entry);
      succeeded = false;
      break;
    }
    // Start the next input's first page in a fresh directory; after the
    // last input, closing the output writes its last page.
    if (i + 1 < inputs.size() && !TIFFWriteDirectory(output)) {
      write_failed = true;
      break;
    }
  }

  if (!write_failed && !TIFFFlush(output)) write_failed = true;
  TIFFClose(output);
  if (write_failed) {
    notify_user(kWriteFailedMessage, output_path.c_str());
    return false;
  }
  return succeeded;
}

}  // namespace plyfold
