#include "html/FramesetPage.h"

#include "html/HtmlText.h"
#include "html/SiteFile.h"

namespace qv {

void WriteFramesetPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                       const std::string& documentName, int firstPage, int lastPage) {
  std::string text;
  if (options.frameStructure == 0 || options.frameStructure == 1) {
    const long long count = static_cast<long long>(lastPage) - firstPage + 1;
    const std::string& title = options.outputTitle == 1 ? options.customTitle : documentName;
    const char* leftPage = options.frameStructure == 0 ? "pg_index.htm" : "pg_bmark.htm";
    text = "<html><head>";
    text += kCharsetMeta;
    text += "<title>" + EscapeHtmlText(ToValidUtf8(title)) + "</title>" + KeywordMetaText(options) +
            "<script language=\"javascript\">\n"
            "var firstpage = 1;\n"
            "var lastpage = " +
            std::to_string(count) +
            ";\n"
            "</script></head>\n"
            "<frameset rows=\"30,*\" framespacing=\"1\" border=\"0\" frameborder=\"0\">\n"
            "<frame name=\"ltop\" scrolling=\"no\" target=\"lbottom\" src=\"pg_nav.htm\">\n"
            "<frameset name = \"leftpane\" cols=\"150,*\">\n"
            "<frame name=\"lbottom\" target=\"contents\" src=\"" +
            leftPage +
            "\">\n"
            "<frame name=\"contents\" src=\"pg_0001.htm\">\n"
            "</frameset>\n"
            "<noframes>\n"
            "<body>\n"
            "<p>This page uses frames, but your browser doesn't support them.</p>\n"
            "</body>\n"
            "</noframes>\n"
            "</frameset></html>\n";
  }
  WriteSiteFile(outputFolder / "index.htm", text);
}

}  // namespace qv
