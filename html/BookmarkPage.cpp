#include "html/BookmarkPage.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "html/BookmarkTreeScript.h"
#include "html/HtmlText.h"
#include "html/SiteFile.h"

namespace qv {

namespace {

// A line of the outline file is read up to this many characters; the rest is dropped.
constexpr size_t kMaxOutlineLine = 4095;
// At most this many entries are read: far above any real outline, it bounds the page.
constexpr size_t kMaxOutlineEntries = 100000;
// Deeper entries are drawn at this depth, so the tree's recursive drawing stays shallow.
constexpr int kMaxOutlineDepth = 64;
// The outline file is read up to this size.
constexpr uintmax_t kMaxOutlineFile = 64 << 20;

constexpr const char* kFontLists[] = {
    "Helvetica, Arial, sans-serif",         "Times New Roman, Times, serif",
    "Courier New, Courier, mono",           "Verdana, Arial, Helvetica, sans-serif",
    "Geneva, Arial, Helvetica, sans-serif",
};

std::optional<OutlineEntry> parseLine(std::string line) {
  std::erase(line, '\r');
  std::erase(line, '\n');
  if (line.empty()) {
    return std::nullopt;
  }
  const size_t marker = line.find("<>,");
  std::string title = line.substr(0, marker);
  OutlineEntry entry;
  entry.depth = static_cast<int>(std::min(line.find_first_not_of('\t'), line.size()));
  title.erase(0, std::min(title.find_first_not_of('\t'), title.size()));
  if (marker != std::string::npos) {
    const size_t begin = marker + 3;
    const size_t end = std::min(line.find(',', begin), line.size());
    if (end > begin) {
      // atoi semantics: text that is not a number reads as 0.
      const long long page = std::strtoll(line.substr(begin, end - begin).c_str(), nullptr, 10);
      entry.page = static_cast<int>(std::clamp<long long>(page, -1000000000, 1000000000));
    }
  }
  entry.title = EscapeHtmlText(ToValidUtf8(title));
  return entry;
}

}  // namespace

std::vector<OutlineEntry> ParseOutlineEntries(const std::string& text) {
  std::vector<OutlineEntry> entries;
  size_t pos = 0;
  while (pos < text.size() && entries.size() < kMaxOutlineEntries) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) {
      end = text.size();
    }
    const size_t length = std::min(end - pos, kMaxOutlineLine);
    if (auto entry = parseLine(text.substr(pos, length))) {
      // A tree can only go one level deeper at a time.
      const int limit = entries.empty() ? 0 : entries.back().depth + 1;
      entry->depth = std::min({entry->depth, limit, kMaxOutlineDepth});
      entries.push_back(std::move(*entry));
    }
    pos = end + 1;
  }
  return entries;
}

std::vector<OutlineEntry> ReadOutlineEntries(DocBridgeHandle* handle) {
  if (handle == nullptr) {
    return {};
  }
  const std::optional<std::filesystem::path> file = DocBridgeExportOutline(handle);
  if (!file) {
    return {};
  }
  std::ifstream in(*file, std::ios::binary);
  if (!in) {
    return {};
  }
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(*file, error);
  std::string text(error ? 0 : static_cast<size_t>(std::min<uintmax_t>(size, kMaxOutlineFile)),
                   '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  return ParseOutlineEntries(text);
}

void WriteBookmarkEntries(const ConvertOptions& options, const std::vector<OutlineEntry>& entries,
                          const std::filesystem::path& outputFolder,
                          const std::string& documentName, int firstPage) {
  const int font =
      options.bookmarkFont >= 0 && options.bookmarkFont <= 4 ? options.bookmarkFont : 0;
  std::string text = "<html>\n<head>";
  text += kCharsetMeta;
  text += "\n" + KeywordMetaText(options) +
          "<style type=\"text/css\">\n"
          "<!--body{ margin-top: 5px; margin-right: 5px; margin-bottom: 5px; margin-left: 5px; "
          "background-color: #" +
          HexColorUpper(options.htmlBackground) +
          "}\n"
          ".toolbar { width: 20px; font: 12px " +
          kFontLists[font] +
          "; color: #000000; margin-top: -1px; margin-right: 0px; margin-bottom: 0px; "
          "margin-left: 0px}\n"
          "img { border: 0}\n";
  text += LinkStyleText(options, false);
  text += "-->\n</style>\n";
  text += kBookmarkTreeScript;
  text += "<script>\nroot0 = gFld(\"" + EscapeJsString(EscapeHtmlText(ToValidUtf8(documentName))) +
          "\", \"\")\n";
  if (entries.empty()) {
    text += "root0 = gFld(\"Your pdf file doesn't contain bookmarks\", \"\")\n";
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const OutlineEntry& entry = entries[i];
    const long long relative = static_cast<long long>(entry.page) - firstPage + 1;
    const std::string page = std::to_string(relative > 0 ? relative : 0);
    const std::string title = EscapeJsString(entry.title);
    const std::string depth = std::to_string(entry.depth);
    if (i + 1 < entries.size() && entries[i + 1].depth > entry.depth) {
      text += "root" + std::to_string(entry.depth + 1) + " = insFld(root" + depth + ", gFld(\"" +
              title + "\", \"" + page + "\"))\n";
    } else {
      text += "insDoc(root" + depth + ", gLnk(2,\"" + title + "\", \"" + page + "\"))\n";
    }
  }
  text +=
      "</script><script>initializeDocument()</script></head>\n\t<body bgcolor=white  "
      "style=\"border-right: 2 solid #CCCCCC\">\n\t</body>\n\t</html>";
  WriteSiteFile(outputFolder / "pg_bmark.htm", text);
}

void WriteBookmarkPage(const ConvertOptions& options, DocBridgeHandle* handle,
                       const std::filesystem::path& outputFolder, const std::string& documentName,
                       int firstPage, int /*lastPage*/) {
  WriteBookmarkEntries(options, ReadOutlineEntries(handle), outputFolder, documentName, firstPage);
}

}  // namespace qv
