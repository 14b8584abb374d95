// Argument handling: the count, the list switch and the exit status.
#include "app/command_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/recording_message_box.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

const char kUsage[] =
    "Please specify two files or list of files to combine\n"
    "plyfold first_file.tif second_file.tif output.tif\n"
    "plyfold /L file_list output.tif";

struct ArgumentCase {
  const char* name;
  std::vector<std::string> arguments;  // after the program's name
  int exit_status;
  std::vector<std::string> messages;
  int output_pages;  // -2: the existing output is untouched
};

constexpr int kUntouched = -2;

// Run in a folder holding a.tif (2 pages), b.tif (1 page), list (naming
// b.tif then a.tif) and an existing out.tif.
const ArgumentCase kArgumentCases[] = {
    {"no_arguments", {}, 2, {kUsage}, kUntouched},
    {"one_argument", {"a.tif"}, 2, {kUsage}, kUntouched},
    {"two_inputs_no_output", {"a.tif", "b.tif"}, 2, {kUsage}, kUntouched},
    {"list_without_output", {"/L", "list"}, 2, {kUsage}, kUntouched},
    {"three_inputs",
     {"a.tif", "b.tif", "a.tif", "out.tif"},
     2,
     {kUsage},
     kUntouched},
    {"five_arguments",
     {"/L", "list", "out.tif", "x", "y"},
     2,
     {kUsage},
     kUntouched},
    {"two_file_mode", {"a.tif", "b.tif", "out.tif"}, 0, {}, 3},
    {"same_input_twice", {"b.tif", "b.tif", "out.tif"}, 0, {}, 2},
    {"list_switch", {"/L", "list", "out.tif"}, 0, {}, 3},
    {"list_switch_small_letter", {"/l", "list", "out.tif"}, 0, {}, 3},
    {"dash_is_an_input",
     {"-L", "list", "out.tif"},
     1,
     {"Could not read input file -L"},
     0},
    {"longer_switch_is_an_input",
     {"/LIST", "list", "out.tif"},
     1,
     {"Could not read input file /LIST"},
     0},
    {"letter_alone_is_an_input",
     {"L", "list", "out.tif"},
     1,
     {"Could not read input file L"},
     0},
    {"switch_with_blank_is_an_input",
     {"/L ", "list", "out.tif"},
     1,
     {"Could not read input file /L "},
     0},
    {"empty_first_input",
     {"", "b.tif", "out.tif"},
     1,
     {"Could not read input file "},
     0},
    {"empty_second_input",
     {"a.tif", "", "out.tif"},
     1,
     {"Could not read input file "},
     2},
    {"missing_list_file",
     {"/L", "nothing.txt", "out.tif"},
     1,
     {"Could not open list file nothing.txt\n"},
     kUntouched},
    {"empty_list_path",
     {"/L", "", "out.tif"},
     1,
     {"Could not open list file \n"},
     kUntouched},
};

void PrintTo(const ArgumentCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public TempFolderTest,
                        public ::testing::WithParamInterface<ArgumentCase> {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    PageSpec page;
    ASSERT_TRUE(write_tiff(path("a.tif"), {page, page}));
    ASSERT_TRUE(write_tiff(path("b.tif"), {page}));
    write_file(path("list"), "b.tif\na.tif\n");
    write_file(path("out.tif"), "keep me");
    ASSERT_NE(getcwd(previous_folder_, sizeof previous_folder_), nullptr);
    ASSERT_EQ(chdir(folder_.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(previous_folder_), 0);
    TempFolderTest::TearDown();
  }

  char previous_folder_[4096];
};

TEST_P(CommandLineTest, ExitStatusMessagesAndOutput) {
  const ArgumentCase& c = GetParam();
  std::vector<std::string> arguments = c.arguments;
  std::vector<char*> argv = {const_cast<char*>("plyfold")};
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  EXPECT_EQ(run_plyfold(static_cast<int>(argv.size() - 1), argv.data()),
            c.exit_status);
  std::vector<std::string> texts;
  for (const ShownMessage& shown : shown_messages()) {
    EXPECT_EQ(shown.caption, "Plyfold");
    texts.push_back(shown.text);
  }
  EXPECT_EQ(texts, c.messages);
  if (c.output_pages == kUntouched) {
    EXPECT_EQ(file_bytes("out.tif"), "keep me");
  } else if (c.output_pages == 0) {
    // Opened and closed with no page: a bare TIFF header.
    EXPECT_EQ(file_bytes("out.tif").size(), 8u);
  } else {
    EXPECT_EQ(count_pages("out.tif"), c.output_pages);
  }
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLineTest,
                         ::testing::ValuesIn(kArgumentCases),
                         [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace plyfold::testing
