// Runs the built quorvane-cli and checks its exit status and its messages.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the program in folder with the given (shell-quoted) arguments.
RunResult runCli(const test::ScratchDir& folder, const std::string& args) {
  std::string cli = (test::binDir() / "quorvane-cli").string();
  std::string command = "cd '" + folder.path().string() + "' && '" + cli + "' " + args +
                        " >out.txt 2>err.txt </dev/null";
  int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = test::readFile(folder / "out.txt");
  result.err = test::readFile(folder / "err.txt");
  return result;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "empty" / "inner");
    std::filesystem::create_directories(dir_ / "tree" / "deep");
    test::writeFile(dir_ / "garbage.pdf", "%PDF-1.4 this is not a document");
    test::writeFile(dir_ / "tree" / "deep" / "Upper.PDF", "not a document either");
    test::writeFile(dir_ / "tree" / "notes.txt", "text");
    test::writeFile(dir_ / "empty" / "inner" / "readme.pdf.txt", "text");
    test::writeFile(dir_ / "settings.ini", "[Output Html]\nFrame Structure=2\n");
    std::filesystem::copy_file(test::sourceDir() / "examples" / "sample.pdf", dir_ / "sample.pdf");
  }
  test::ScratchDir dir_{"qv-cli"};
};

TEST_F(CliTest, StatusesAndMessages) {
  struct Case {
    const char* args;
    int status;
    const char* errContains;
  };
  const Case cases[] = {
      {"", 2, "no PDF file or folder given"},
      {"missing.pdf", 2, "missing.pdf: no such file or folder"},
      {"garbage.pdf missing.pdf", 2, "missing.pdf: no such file or folder"},
      {"--bogus garbage.pdf", 2, "unknown option --bogus"},
      {"--set 'No Such Key=1' garbage.pdf", 2, "unknown settings key \"No Such Key\""},
      {"--set 'Start Page=12a' garbage.pdf", 2, "must be a whole number"},
      {"--set Frame garbage.pdf", 2, "--set needs KEY=VALUE"},
      {"--settings nowhere.ini garbage.pdf", 2, "settings file not found"},
      {"--owner-password", 2, "needs a value"},
      {"empty", 1, "skipped empty: no PDF files in this folder"},
      {"garbage.pdf", 1, "garbage.pdf: not a valid PDF file"},
      {"tree", 1, "deep/Upper.PDF: not a valid PDF file"},
      {"--settings settings.ini --set 'frame structure=1' --user-password x garbage.pdf", 1,
       "garbage.pdf: not a valid PDF file"},
      {"--info garbage.pdf", 1, "garbage.pdf: Not a valid pdf file!"},
      // The engine reads the sample, but pages cannot be extracted until the page
      // interpreter exists: the file is skipped and said to be readable.
      {"sample.pdf", 1, "sample.pdf: the document opens, but this build cannot extract its pages"},
  };
  for (const Case& c : cases) {
    RunResult result = runCli(dir_, c.args);
    EXPECT_EQ(result.status, c.status) << c.args << "\n" << result.err;
    EXPECT_NE(result.err.find(c.errContains), std::string::npos) << c.args << "\n" << result.err;
    // Captions only go to a terminal; nothing is written for a file that did not open.
    EXPECT_EQ(result.err.find("Convert finished."), std::string::npos) << c.args;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "garbage"));
}

TEST_F(CliTest, UnreadableFileIsNamed) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "root reads every file";
  }
  test::writeFile(dir_ / "locked.pdf", "%PDF-1.4");
  chmod((dir_ / "locked.pdf").c_str(), 0);
  RunResult result = runCli(dir_, "locked.pdf");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("locked.pdf: the file cannot be read"), std::string::npos);
}

TEST_F(CliTest, HelpDocumentsEveryOption) {
  RunResult result = runCli(dir_, "--help");
  EXPECT_EQ(result.status, 0);
  for (const char* option :
       {"--settings", "--set", "--owner-password", "--user-password", "--open", "--verbose",
        "--info", "--help", "Exit status", "IgnoreImages", "Bookmark Expand"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace qv
