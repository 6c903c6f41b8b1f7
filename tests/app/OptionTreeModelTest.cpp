#include "app/OptionTreeModel.h"

#include <gtest/gtest.h>

#include "app/options/SettingsFile.h"
#include "tests/support/TestPaths.h"

namespace qv {
namespace {

bool readOnly(const OptionTreeModel& tree, int number) {
  return tree.item(number)->readOnly;
}

TEST(OptionTreeModelTest, BuildsTheItemsInOrder) {
  OptionTreeModel tree;
  tree.fill(ConvertOptions{});
  ASSERT_EQ(tree.items().size(), 29u);
  for (int n = 1; n <= 29; ++n) {
    EXPECT_EQ(tree.items()[n - 1].number, n);
  }
  EXPECT_EQ(tree.item(17)->choices[1], "Bookmarks, Page Contents  and Navigation");
  EXPECT_EQ(tree.item(5)->choices.size(), 11u);
  EXPECT_EQ(tree.item(28)->label, "Jpeg Quality (%)");
  EXPECT_EQ(tree.item(28)->parent, 27);
  EXPECT_EQ(tree.item(28)->maximum, 100);
  EXPECT_EQ(tree.item(14)->defaultColor, 16711731);
  EXPECT_EQ(tree.item(6)->help, "Open the result html file or directory when finished converting.");
  EXPECT_EQ(tree.item(30), nullptr);
}

TEST(OptionTreeModelTest, EnablingFollowsTheOptions) {
  struct Case {
    int changed;    // item the user edits
    int32_t value;  // position chosen
    std::vector<int> dependents;
    bool editable;  // dependents editable afterwards
  };
  const Case cases[] = {
      {2, 1, {3, 4}, true},    {2, 0, {3, 4}, false},    {17, 2, {18}, true}, {17, 1, {18}, false},
      {27, 1, {28, 29}, true}, {27, 3, {28, 29}, false}, {9, 1, {10}, true},  {9, 0, {10}, false},
  };
  for (const Case& c : cases) {
    ConvertOptions options;
    OptionTreeModel tree;
    tree.fill(options);
    ASSERT_TRUE(tree.selectChoice(c.changed, c.value, options));
    for (int d : c.dependents) {
      EXPECT_EQ(readOnly(tree, d), !c.editable) << "item " << c.changed << " -> " << d;
    }
  }
  // Filling from options with the dependents enabled.
  ConvertOptions options;
  options.pageRange = 1;
  options.outputTitle = 1;
  options.frameStructure = 2;
  options.imagesFormat = 1;
  options.customTitle = "Mine";
  OptionTreeModel tree;
  tree.fill(options);
  for (int n : {3, 4, 10, 18, 28, 29}) {
    EXPECT_FALSE(readOnly(tree, n)) << n;
  }
  EXPECT_EQ(tree.item(10)->text, "Mine");
  // Read-only items refuse edits.
  tree.fill(ConvertOptions{});
  EXPECT_FALSE(tree.setSpinText(3, "5", options));
}

TEST(OptionTreeModelTest, ChangesReachTheFieldAtOnce) {
  ConvertOptions options;
  options.pageRange = 1;
  OptionTreeModel tree;
  tree.fill(options);
  ASSERT_TRUE(tree.setSpinText(3, "12", options));
  EXPECT_EQ(options.startPage, 12);
  ASSERT_TRUE(tree.setSpinText(4, "x", options));  // plain decimal conversion
  EXPECT_EQ(options.endPage, 0);
  ASSERT_TRUE(tree.setColor(12, 0x123456, options));
  EXPECT_EQ(options.htmlBackground, 0x123456);
  ASSERT_TRUE(tree.setText(11, "pdf, html", options));
  EXPECT_EQ(options.keywords, "pdf, html");
  ASSERT_TRUE(tree.selectChoice(17, 2, options));
  EXPECT_EQ(options.frameStructure, 2);
  EXPECT_FALSE(tree.setText(2, "x", options));  // wrong kind
}

TEST(OptionTreeModelTest, CustomTitleShownOnlyWhenChosen) {
  ConvertOptions options;
  options.outputTitle = 1;
  options.customTitle = "Annual report";
  OptionTreeModel tree;
  tree.fill(options);
  ASSERT_TRUE(tree.selectChoice(9, 0, options));
  EXPECT_EQ(tree.item(10)->text, "PDF Document Title");
  ASSERT_TRUE(tree.selectChoice(9, 1, options));
  EXPECT_EQ(tree.item(10)->text, "Annual report");
  // Default Title chosen when a job starts: the shown text becomes customTitle.
  ASSERT_TRUE(tree.selectChoice(9, 0, options));
  tree.readBack(options);
  EXPECT_EQ(options.customTitle, "PDF Document Title");
}

TEST(OptionTreeModelTest, ReadBackKeepsReadOnlyValuesAndOutOfRangeListsGiveMinusOne) {
  test::ScratchDir dir;
  auto file = dir / "Settings.ini";
  test::writeFile(file,
                  "[Output General]\nPage Range=0\nStart Page=4\nEnd Page=9\nPage Zoom=11\n"
                  "[Output Html]\nFrame Structure=7\nBookmark Font=-3\nBookmark Expand=5\n");
  ConvertOptions options;
  LoadSettings(options, file);
  EXPECT_EQ(options.pageZoom, 11);
  OptionTreeModel tree;
  tree.fill(options);
  EXPECT_EQ(tree.item(5)->value, -1);  // no selection
  tree.readBack(options);
  EXPECT_EQ(options.pageZoom, -1);
  EXPECT_EQ(options.frameStructure, -1);
  EXPECT_EQ(options.bookmarkFont, -1);
  EXPECT_EQ(options.startPage, 4);  // read-only, still read back
  EXPECT_EQ(options.endPage, 9);
  EXPECT_EQ(options.bookmarkExpand, 5);  // no item: untouched
}

TEST(OptionTreeModelTest, ResetAsksFirst) {
  ConvertOptions options;
  options.jpegQuality = 5;
  options.bookmarkExpand = 2;
  OptionTreeModel tree;
  tree.fill(options);
  std::string asked;
  EXPECT_FALSE(ResetOptions(options, tree, [&](const std::string& q) {
    asked = q;
    return false;
  }));
  EXPECT_EQ(asked, "Reset all the convert options?");
  EXPECT_EQ(options.jpegQuality, 5);
  EXPECT_EQ(tree.item(28)->value, 5);
  EXPECT_TRUE(ResetOptions(options, tree, [](const std::string&) { return true; }));
  EXPECT_EQ(options, ConvertOptions{});
  EXPECT_EQ(tree.item(28)->value, 70);
}

}  // namespace
}  // namespace qv
