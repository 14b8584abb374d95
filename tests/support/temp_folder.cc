#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <filesystem>

#include "tests/support/recording_message_box.h"

namespace plyfold::testing {

void TempFolderTest::SetUp() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "plyfold-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  clear_messages();
}

void TempFolderTest::TearDown() {
  std::error_code ignored;
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                               ignored);
  std::filesystem::remove_all(folder_, ignored);
  clear_messages();
}

}  // namespace plyfold::testing
