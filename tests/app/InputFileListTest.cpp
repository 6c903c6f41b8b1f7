#include "app/InputFileList.h"

#include <gtest/gtest.h>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(InputFileListTest, PdfNames) {
  struct Case {
    const char* name;
    bool pdf;
  };
  const Case cases[] = {{"a.pdf", true},      {"B.PDF", true},   {"c.Pdf", true}, {"pdf", false},
                        {"x.pdf.txt", false}, {"x.pdfa", false}, {".pdf", true},  {"xpdf", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(InputFileList::isPdfName(c.name), c.pdf) << c.name;
  }
}

TEST(InputFileListTest, ImportsFoldersDepthFirstInNameOrderWithoutDuplicates) {
  test::ScratchDir dir;
  fs::create_directories(dir / "b" / "inner");
  fs::create_directories(dir / "a");
  for (const char* file : {"z.pdf", "a/one.PDF", "b/inner/two.pdf", "b/three.pdf", "b/skip.txt"}) {
    test::writeFile(dir / file, "");
  }
  // A link back to the top must not make the import loop.
  fs::create_directory_symlink(dir.path(), dir / "b" / "loop");
  InputFileList list;
  EXPECT_EQ(list.importFolder(dir.path()), 4u);
  std::vector<fs::path> expected = {dir / "a/one.PDF", dir / "b/inner/two.pdf", dir / "b/three.pdf",
                                    dir / "z.pdf"};
  EXPECT_EQ(list.files(), expected);
  EXPECT_EQ(list.importFolder(dir.path()), 0u);  // nothing listed twice
  EXPECT_FALSE(list.addFile(dir / "z.pdf"));
  EXPECT_EQ(list.importFolder(dir / "missing"), 0u);
}

}  // namespace
}  // namespace qv
