#include "extract/DocBridge.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "tests/support/TestPaths.h"

namespace qv {
namespace {

TEST(DocBridgeTest, InvalidHandleAnswersAsClosed) {
  EXPECT_EQ(DocBridgePageCount(nullptr), -1);
  EXPECT_EQ(DocBridgeGetPage(nullptr, 1), nullptr);
  EXPECT_EQ(DocBridgeGetPageLinks(nullptr, 1), nullptr);
  EXPECT_FALSE(DocBridgeExportOutline(nullptr).has_value());
  DocBridgeClose(nullptr);
  DocBridgeFreePage(nullptr);
  DocBridgeFreePageLinks(nullptr);
}

TEST(DocBridgeTest, MissingFileDoesNotOpen) {
  test::ScratchDir dir;
  EXPECT_EQ(DocBridgeOpen(dir / "missing.pdf", std::nullopt, std::nullopt, 72), nullptr);
}

TEST(DocBridgeTest, OutlineFileIsPerProcessInTheTemporaryFolder) {
  const auto path = DocBridgeOutlineFilePath();
  EXPECT_EQ(path.parent_path(), std::filesystem::temp_directory_path());
  EXPECT_NE(path.filename().string().find(std::to_string(::getpid())), std::string::npos);
}

TEST(PageRecordTest, RecordWhoseLastItemIsAClipWithoutPayloadIsReleased) {
  auto record = std::make_unique<PDFPageRecord>();
  record->items.push_back(PDFPageItem::polygon({{{0, 0}, {5, 0}, {5, 5}}, 1, 0}));
  record->items.push_back(PDFPageItem::clip({{0, 0, 5, 5}, {{0, 0, 5, 5}}}));
  record->items.push_back(PDFPageItem::removeClip());
  EXPECT_EQ(record->items.back().kind, PDFPageItemKind::Clip);
  EXPECT_EQ(record->items.back().as<PDFClipItem>(), nullptr);
  DocBridgeFreePage(std::move(record));
}

}  // namespace
}  // namespace qv
