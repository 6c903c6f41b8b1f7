#include "html/PageIndexPage.h"

#include "html/HtmlText.h"
#include "html/SiteFile.h"

namespace qv {

namespace {

// The page list may load before the navigation frame has run its script; the range then
// comes from the frameset, which defines it before any frame loads.
constexpr std::string_view kScriptAndBody =
    "<script language=\"javascript\">\n"
    "<!-- hide \n"
    "function killerrors()\n"
    "{ \n"
    "\treturn true; \n"
    "} \n"
    "window.onerror = killerrors; \n"
    "// --> \n"
    "</script> \n"
    "\t<script language=\"javascript\">\n"
    "\t\n"
    "\tfunction MyGotoPage(newPage)\n"
    "{\n"
    "\tparent.ltop.gotopage(newPage);\n"
    "}\n"
    "</script>\n"
    "</head>\n"
    "<body style=\"border-right: 2 solid #CCCCCC\">\n"
    "\t<table border=\"0\" width=\"134\" class=\"toolbar\">\n"
    "\t<script language=\"javascript\">\n"
    "\tvar firstpage = parent.ltop.firstpage;\n"
    "var lastpage = parent.ltop.lastpage;\n"
    "var currentPage = parent.ltop.currentPage;\n"
    "if (firstpage == undefined) { firstpage = parent.firstpage; lastpage = parent.lastpage; }\n"
    "for(i = firstpage; i <= lastpage; i++)\n"
    "{\n"
    "\tvar pagenumber = new String(i-firstpage+1);\n"
    "\tvar tempstring = new String;\n"
    "\ttempstring = \"<tr><td><img src='\";\n"
    "\tif(i == currentPage)\n"
    "\t\ttempstring += \"images/pg_page2.gif\";\n"
    "\telse\n"
    "\t\ttempstring += \"images/pg_page.gif\";\n"
    "\ttempstring += \"'><a href='#' onClick='javascript:MyGotoPage(\" + pagenumber + \"); return "
    "false'>Page \"+ pagenumber + \"</a></td></tr>\";\n"
    "\tdocument.writeln(tempstring);\n"
    "}\n"
    "</script></table>\n"
    "</body></html>";

}  // namespace

void WritePageIndexPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                        const std::string& /*documentName*/, int /*firstPage*/, int /*lastPage*/) {
  std::string text = "<html><head>";
  text += kCharsetMeta;
  text += "<title>Index Page</title>\n" + KeywordMetaText(options) +
          "<base target=\"contents\">\n"
          "<style type=\"text/css\">\n"
          "<!--\n"
          "body { margin-top: 5px; margin-right: 5px; margin-bottom: 5px; margin-left: 5px; "
          "background-color: #" +
          HexColorUpper(options.bookmarksBackground) +
          "}\n"
          ".toolbar { width: 100px; font: 12px Verdana, Arial, Helvetica, sans-serif; color: "
          "#000000; margin-top: -1px; margin-right: 0px; margin-bottom: 0px; margin-left: 0px}\n"
          "img { border: 0}\n";
  text += LinkStyleText(options, true);
  text += "-->\n</style>\n";
  text += kScriptAndBody;
  WriteSiteFile(outputFolder / "pg_index.htm", text);
}

}  // namespace qv
