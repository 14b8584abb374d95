// The built program as a process: its streams, exit status and signals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

enum class Stdout { kCaptured, kClosed, kBrokenPipe };

struct ProcessRun {
  int exit_status = -1;
  std::string out;
  std::string err;
};

struct RunOptions {
  Stdout stdout_kind = Stdout::kCaptured;
  rlim_t file_size_limit = RLIM_INFINITY;
};

class PlyfoldProcessTest : public TempFolderTest {
 protected:
  ProcessRun run(const std::vector<std::string>& arguments,
                 RunOptions options = {}) {
    const std::string out_file = path("stdout");
    const std::string err_file = path("stderr");
    int broken_pipe[2] = {-1, -1};
    if (options.stdout_kind == Stdout::kBrokenPipe) {
      EXPECT_EQ(pipe(broken_pipe), 0);
      close(broken_pipe[0]);
    }
    std::vector<std::string> args = arguments;
    std::vector<char*> argv = {const_cast<char*>(PLYFOLD_BINARY)};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
      const int err =
          open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(err, 2);
      if (options.stdout_kind == Stdout::kCaptured) {
        dup2(open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      } else if (options.stdout_kind == Stdout::kBrokenPipe) {
        dup2(broken_pipe[1], 1);
      } else {
        close(1);
      }
      close(0);
      // Messages go to standard error here, never to a desktop dialog.
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
      if (options.file_size_limit != RLIM_INFINITY) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {options.file_size_limit, options.file_size_limit};
        setrlimit(RLIMIT_FSIZE, &limit);
      }
      execv(argv[0], argv.data());
      _exit(127);
    }
    if (broken_pipe[1] != -1) close(broken_pipe[1]);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    ProcessRun result;
    result.exit_status =
        WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = file_bytes(out_file);
    result.err = file_bytes(err_file);
    return result;
  }

  void make_inputs() {
    PageSpec page;
    page.width = 4;
    page.height = 3;
    page.rows_per_strip = 2;
    ASSERT_TRUE(write_tiff(path("a.tif"), {page, page}));
    ASSERT_TRUE(write_tiff(path("b.tif"), {page}));
  }
};

TEST_F(PlyfoldProcessTest, SuccessPrintsOneLinePerStripAndExitsZero) {
  make_inputs();
  const ProcessRun result =
      run({path("a.tif"), path("b.tif"), path("out.tif")});
  EXPECT_EQ(result.exit_status, 0);
  std::string expected;
  for (int page = 0; page < 3; ++page) {
    expected +=
        "Strip read: 8, Strip wrote: 8\nStrip read: 4, Strip wrote: 4\n";
  }
  EXPECT_EQ(result.out, expected);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(count_pages(path("out.tif")), 3);
}

TEST_F(PlyfoldProcessTest, MessagesGoToStandardErrorWithTheCaption) {
  make_inputs();
  struct {
    std::vector<std::string> arguments;
    int exit_status;
    std::string err;
  } cases[] = {
      {{},
       2,
       "Plyfold: Please specify two files or list of files to combine\n"
       "plyfold first_file.tif second_file.tif output.tif\n"
       "plyfold /L file_list output.tif\n"},
      {{"/L", path("none"), path("out.tif")},
       1,
       "Plyfold: Could not open list file " + path("none") + "\n"},
      {{path("a.tif"), path("none"), path("out.tif")},
       1,
       "Plyfold: Could not read input file " + path("none") + "\n"},
      {{path("a.tif"), path("b.tif"), path("none/out.tif")},
       1,
       "Plyfold: Could not open output file " + path("none/out.tif") + "\n"},
  };
  for (const auto& c : cases) {
    const ProcessRun result = run(c.arguments);
    EXPECT_EQ(result.exit_status, c.exit_status);
    // libtiff may add its own diagnostic before ours.
    EXPECT_TRUE(result.err.size() >= c.err.size() &&
                result.err.compare(result.err.size() - c.err.size(),
                                   c.err.size(), c.err) == 0)
        << result.err;
  }
}

TEST_F(PlyfoldProcessTest, OverlongMessageIsCutAt1023Bytes) {
  const std::string input(1500, 'x');
  const ProcessRun result = run({input, input, path("out.tif")});
  EXPECT_EQ(result.exit_status, 1);
  const std::string text =
      ("Could not read input file " + input).substr(0, 1023);
  EXPECT_NE(result.err.find("Plyfold: " + text + "\n"), std::string::npos);
  EXPECT_EQ(result.err.find("Plyfold: " + text + "x"), std::string::npos);
}

TEST_F(PlyfoldProcessTest, WriteFailurePartWayIsReported) {
  PageSpec big;
  big.width = 200;
  big.height = 200;
  big.rows_per_strip = 20;
  ASSERT_TRUE(write_tiff(path("a.tif"), {big, big}));
  ASSERT_TRUE(write_tiff(path("b.tif"), {big}));
  RunOptions options;
  options.file_size_limit = 60000;  // room for one page of 40000 bytes
  const ProcessRun result =
      run({path("a.tif"), path("b.tif"), path("out.tif")}, options);
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.err.find("Plyfold: Could not write output file " +
                            path("out.tif") + "\n"),
            std::string::npos)
      << result.err;
  // Pages 1 and 2 are finished, ten lines each, the last ones failing; the
  // page of b.tif is never started.
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 20);
  const std::string last = "Strip read: 4000, Strip wrote: -1\n";
  EXPECT_EQ(result.out.substr(result.out.size() - last.size()), last);
  // What was written before the disk filled up stays a readable file.
  ASSERT_EQ(count_pages(path("out.tif")), 1);
  EXPECT_EQ(decoded_units(path("out.tif"), 0), decoded_units(path("a.tif"), 0));
}

// The disk fills up at every stage of the join: the output keeps exactly the
// pages that were whole before it, each one intact.
TEST_F(PlyfoldProcessTest, DiskFullAtAnyPointKeepsTheWholePagesBefore) {
  PageSpec page;
  page.width = 200;
  page.height = 200;
  page.rows_per_strip = 20;  // 40000 bytes a page
  ASSERT_TRUE(write_tiff(path("a.tif"), {page, page}));
  ASSERT_TRUE(write_tiff(path("b.tif"), {page}));
  const std::string inputs[] = {path("a.tif"), path("a.tif"), path("b.tif")};
  for (rlim_t limit : {rlim_t{6000}, rlim_t{40100}, rlim_t{40400},
                       rlim_t{70000}, rlim_t{80700}, rlim_t{110000}}) {
    SCOPED_TRACE(limit);
    RunOptions options;
    options.file_size_limit = limit;
    const ProcessRun result =
        run({path("a.tif"), path("b.tif"), path("out.tif")}, options);
    EXPECT_EQ(result.exit_status, 1);
    const int pages = count_pages(path("out.tif"));
    EXPECT_LE(pages, 2);
    if (limit > 40400) {
      EXPECT_GE(pages, 1);
    }
    for (int p = 0; p < pages; ++p) {
      EXPECT_EQ(decoded_units(path("out.tif"), p),
                decoded_units(inputs[p], p == 1));
    }
  }
}

TEST_F(PlyfoldProcessTest, LostStandardOutputChangesNothing) {
  make_inputs();
  ASSERT_EQ(run({path("a.tif"), path("b.tif"), path("plain.tif")}).exit_status,
            0);
  const std::string plain = file_bytes(path("plain.tif"));
  for (Stdout kind : {Stdout::kClosed, Stdout::kBrokenPipe}) {
    RunOptions options;
    options.stdout_kind = kind;
    const ProcessRun result =
        run({path("a.tif"), path("b.tif"), path("out.tif")}, options);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(file_bytes(path("out.tif")), plain);
  }
}

}  // namespace
}  // namespace plyfold::testing
