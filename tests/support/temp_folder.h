// A test fixture that gives each test a fresh temporary folder.
#ifndef PLYFOLD_TESTS_SUPPORT_TEMP_FOLDER_H_
#define PLYFOLD_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <gtest/gtest.h>

#include <string>

namespace plyfold::testing {

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // `name` inside the test's folder.
  std::string path(const std::string& name) const {
    return folder_ + "/" + name;
  }

  std::string folder_;
};

}  // namespace plyfold::testing

#endif  // PLYFOLD_TESTS_SUPPORT_TEMP_FOLDER_H_
