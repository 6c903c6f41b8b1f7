#include "html/NavigationPage.h"

#include "html/HtmlText.h"
#include "html/SiteFile.h"

namespace qv {

namespace {

// The controller script. Today's browsers differ from the ones the bar was first written
// for in three places, handled here: a frameset element is not reachable as a named
// property of its window (leftPane looks it up by name), printing through execCommand is
// gone (the contents frame's print() is used), and full screen goes through the Fullscreen
// API, since scripts may no longer move, resize or strip the browser window.
constexpr std::string_view kScript =
    "<script language=\"javascript\">\n"
    "<!-- hide \n"
    "function killerrors()\n"
    "{ \n"
    "\treturn true; \n"
    "} \n"
    "window.onerror = killerrors; \n"
    "// --> \n"
    "</script> \n"
    "<script language=\"javascript\">\n"
    "var firstpage = parent.firstpage;\n"
    "var lastpage = parent.lastpage;\n"
    "var currentPage = firstpage;\n"
    "var currentZoom = 100;\n"
    "var IsPageIndexLoaded = 1;\n"
    "var mode = 0;\n"
    "var old = new Array();\n"
    "function leftPane()\n"
    "{\n"
    "\tif (parent.leftpane && parent.leftpane.cols != undefined) return parent.leftpane;\n"
    "\tvar panes = parent.document.getElementsByName(\"leftpane\");\n"
    "\treturn panes.length > 0 ? panes[0] : null;\n"
    "}\n"
    "function showhideleftpane()\n"
    "{\n"
    "\tvar pane = leftPane();\n"
    "\tif (pane == null) return;\n"
    "\tif (pane.cols != \"0,*\")\n"
    "\t{\n"
    "\t\tpane.cols = \"0,*\";\n"
    "\t\tdocument.images[\"LeftPaneButton\"].src = \"images/pg_lpane2.gif\";\n"
    "\t}\n"
    "\telse\n"
    "\t{\n"
    "\t\tpane.cols = \"150,*\";\n"
    "\t\tdocument.images[\"LeftPaneButton\"].src = \"images/pg_lpane1.gif\";\n"
    "\t}\n"
    "}\n"
    "function openLeftPage(indexLoaded, page)\n"
    "{\n"
    "\tvar pane = leftPane();\n"
    "\tif (IsPageIndexLoaded == indexLoaded && pane != null && pane.cols != \"0,*\") return;\n"
    "\tIsPageIndexLoaded = indexLoaded;\n"
    "\tif (pane != null) pane.cols = \"150,*\";\n"
    "\tdocument.images[\"LeftPaneButton\"].src = \"images/pg_lpane1.gif\";\n"
    "\tparent.lbottom.location.href = page;\n"
    "}\n"
    "function OpenIndexPage()\n"
    "{\n"
    "\topenLeftPage(1, \"pg_index.htm\");\n"
    "}\n"
    "function OpenBookMarksPage()\n"
    "{\n"
    "\topenLeftPage(0, \"pg_bmark.htm\");\n"
    "}\n"
    "function gotopage(newPage)\n"
    "{\n"
    "\tnewPage = parseInt(newPage);\n"
    "\tif (isNaN(newPage) || newPage < firstpage || newPage > lastpage) return;\n"
    "\tcurrentPage = newPage;\n"
    "\tvar name = String(newPage);\n"
    "\twhile (name.length < 4) name = \"0\" + name;\n"
    "\tparent.contents.location.href = \"pg_\" + name + \".htm\";\n"
    "\tdocument.pageListForm.pageList.selectedIndex = newPage - firstpage;\n"
    "\tdocument.images[\"FirstPageButton\"].src = \"images/pg_first.gif\";\n"
    "\tdocument.images[\"BackPageButton\"].src = \"images/pg_back.gif\";\n"
    "\tdocument.images[\"NextPageButton\"].src = \"images/pg_next.gif\";\n"
    "\tdocument.images[\"EndPageButton\"].src = \"images/pg_end.gif\";\n"
    "\tif (newPage == firstpage)\n"
    "\t{\n"
    "\t\tdocument.images[\"FirstPageButton\"].src = \"images/pg_first2.gif\";\n"
    "\t\tdocument.images[\"BackPageButton\"].src = \"images/pg_back2.gif\";\n"
    "\t}\n"
    "\tif (newPage == lastpage)\n"
    "\t{\n"
    "\t\tdocument.images[\"NextPageButton\"].src = \"images/pg_next2.gif\";\n"
    "\t\tdocument.images[\"EndPageButton\"].src = \"images/pg_end2.gif\";\n"
    "\t}\n"
    "\tif (IsPageIndexLoaded == 1)\n"
    "\t{\n"
    "\t\tvar images = parent.lbottom.document.images;\n"
    "\t\tfor (var i = firstpage; i <= lastpage && i - firstpage < images.length; i++)\n"
    "\t\t\timages[i - firstpage].src = (i == currentPage) ? \"images/pg_page2.gif\" : "
    "\"images/pg_page.gif\";\n"
    "\t}\n"
    "}\n"
    "function pageChange(selObj)\n"
    "{\n"
    "\tgotopage(selObj.options[selObj.selectedIndex].value);\n"
    "}\n"
    "function setNewZoom(newZoom)\n"
    "{\n"
    "\tnewZoom = parseInt(newZoom);\n"
    "\tif (isNaN(newZoom) || newZoom < 50 || newZoom > 200 || newZoom == currentZoom) return;\n"
    "\tcurrentZoom = newZoom;\n"
    "\tparent.contents.document.body.style.zoom = newZoom / 100;\n"
    "\tdocument.zoomList.zoomSelected.selectedIndex = (newZoom - 50) / 10;\n"
    "}\n"
    "function zoomIn()\n"
    "{\n"
    "\tsetNewZoom(currentZoom + 10);\n"
    "}\n"
    "function zoomOut()\n"
    "{\n"
    "\tsetNewZoom(currentZoom - 10);\n"
    "}\n"
    "function zoomChange(selObj)\n"
    "{\n"
    "\tsetNewZoom(selObj.options[selObj.selectedIndex].value);\n"
    "}\n"
    "function printContents()\n"
    "{\n"
    "\tparent.contents.focus();\n"
    "\tparent.contents.print();\n"
    "}\n"
    "function fullme(e)\n"
    "{\n"
    "\tvar doc = parent.document;\n"
    "\tvar root = doc.documentElement;\n"
    "\tif (root.requestFullscreen)\n"
    "\t{\n"
    "\t\tif (doc.fullscreenElement) { doc.exitFullscreen(); mode = 0; }\n"
    "\t\telse { root.requestFullscreen(); mode = 1; }\n"
    "\t\treturn true;\n"
    "\t}\n"
    "\tif (mode == 0)\n"
    "\t{\n"
    "\t\ttop.moveTo(0, 0);\n"
    "\t\ttop.resizeTo(screen.availWidth, screen.availHeight);\n"
    "\t\told[0] = top.toolbar.visible; old[1] = top.statusbar.visible; old[2] = "
    "top.menubar.visible;\n"
    "\t\ttop.toolbar.visible = false; top.statusbar.visible = false; top.menubar.visible = "
    "false;\n"
    "\t\tmode = 1;\n"
    "\t}\n"
    "\telse\n"
    "\t{\n"
    "\t\ttop.toolbar.visible = old[0]; top.statusbar.visible = old[1]; top.menubar.visible = "
    "old[2];\n"
    "\t\tmode = 0;\n"
    "\t}\n"
    "\treturn true;\n"
    "}\n"
    "</script>\n"
    "\n"
    "</head>\n";

std::string actionCell(const char* action, const char* image, const char* name, const char* tip) {
  std::string cell = "<td><a href=\"#\" onClick=\"";
  cell += action;
  cell += "; return false\"><img src=\"";
  cell += image;
  cell += "\"";
  if (name != nullptr) {
    cell += " name=\"";
    cell += name;
    cell += "\"";
  }
  cell += " border=\"0\" alt=\"";
  cell += tip;
  cell += "\" title=\"";
  cell += tip;
  cell += "\"></a></td>\n";
  return cell;
}

std::string toolBar() {
  std::string bar = "<table border=\"0\" width=\"134\" class=\"toolbar\">\n<tr>\n";
  bar += actionCell("showhideleftpane()", "images/pg_lpane1.gif", "LeftPaneButton",
                    "show or hide left pane");
  bar += actionCell("OpenIndexPage()", "images/pg_index.gif", nullptr, "show page index");
  bar += actionCell("OpenBookMarksPage()", "images/pg_bmark.gif", nullptr, "show page bookmarks");
  bar += actionCell("gotopage(parseInt(firstpage))", "images/pg_first.gif", "FirstPageButton",
                    "go to first page");
  bar += actionCell("gotopage(parseInt(currentPage)-1)", "images/pg_back.gif", "BackPageButton",
                    "go to previous page");
  bar += actionCell("gotopage(parseInt(currentPage)+1)", "images/pg_next.gif", "NextPageButton",
                    "go to next page");
  bar += actionCell("gotopage(parseInt(lastpage))", "images/pg_end2.gif", "EndPageButton",
                    "go to last page");
  bar += actionCell("parent.contents.history.back()", "images/pg_hisback.gif", nullptr,
                    "go to previous view");
  bar += actionCell("parent.contents.history.forward()", "images/pg_hisnext.gif", nullptr,
                    "go to last view");
  bar +=
      "<td><form name=\"pageListForm\" style=\"margin: 0\"><select name=\"pageList\" "
      "class=\"PageBox\" onChange=\"pageChange(this)\">\n"
      "<script language=\"javascript\">\n"
      "for (var i = firstpage; i <= lastpage; i++)\n"
      "\tdocument.write(\"<option value=\\\"\" + i + \"\\\"\" + (i == currentPage ? \" selected\" "
      ": \"\") + \">page \" + (i - firstpage + 1) + \" of \" + (lastpage - firstpage + 1) + "
      "\"</option>\");\n"
      "</script>\n"
      "</select></form></td>\n";
  bar += actionCell("zoomOut()", "images/pg_zoomout.gif", nullptr, "Zoom Out");
  bar +=
      "<td><form name=\"zoomList\" style=\"margin: 0\"><select name=\"zoomSelected\" "
      "class=\"ZoomBox\" onChange=\"zoomChange(this)\">\n";
  for (int zoom = 50; zoom <= 200; zoom += 10) {
    const std::string value = std::to_string(zoom);
    bar += "<option value=\"" + value + "\"" + (zoom == 100 ? " selected" : "") + ">" + value +
           "%</option>\n";
  }
  bar += "</select></form></td>\n";
  bar += actionCell("zoomIn()", "images/pg_zoomin.gif", nullptr, "Zoom In");
  bar += actionCell("printContents()", "images/pg_print.gif", nullptr, "Print");
  bar +=
      actionCell("fullme(event)", "images/pg_fullscr.gif", nullptr, "Full Screen View/Normal view");
  bar += "<td></td>\n<td></td>\n</tr>\n</table>\n";
  return bar;
}

// The left frame may still be loading (about:blank) when the bar starts: its frame
// element's source then tells which page it is about to show.
constexpr std::string_view kClosingScript =
    "<script language=\"javascript\">\n"
    "var leftHref = String(parent.lbottom.location.href);\n"
    "if (leftHref.indexOf(\"pg_\") == -1)\n"
    "{\n"
    "\tvar leftFrames = parent.document.getElementsByName(\"lbottom\");\n"
    "\tif (leftFrames.length > 0) leftHref = String(leftFrames[0].getAttribute(\"src\"));\n"
    "}\n"
    "if (leftHref.indexOf(\"pg_index.htm\") == -1)\n"
    "\tIsPageIndexLoaded = 0;\n"
    "else\n"
    "\tIsPageIndexLoaded = 1;\n"
    "gotopage(parseInt(firstpage));\n"
    "</script></div></body></html>";

}  // namespace

void WriteNavigationPage(const ConvertOptions& options, const std::filesystem::path& outputFolder,
                         const std::string& /*documentName*/, int /*firstPage*/, int /*lastPage*/) {
  static constexpr const char* kAlign[] = {"left", "right", "center"};
  const int align =
      options.navigationAlign >= 0 && options.navigationAlign <= 2 ? options.navigationAlign : 0;
  std::string text = "<html><head>";
  text += kCharsetMeta;
  text += "<title>Navigation Page</title>\n<base target=\"lbottom\">" + KeywordMetaText(options) +
          "<style type=\"text/css\">\n"
          "<!--body{ margin-top: 5px; margin-right: 5px; margin-bottom: 5px; margin-left: 5px; "
          "background-color: #" +
          HexColorUpper(options.navigationBackground) +
          "}\n"
          ".toolbar { width: 60px; font: 10px Verdana, Arial, Helvetica, sans-serif; color: "
          "#000000; margin-top: -1px; margin-right: 0px; margin-bottom: 0px; margin-left: 0px}\n"
          "img { border: 0}--></style>\n";
  text += kScript;
  text += "<body bgcolor=\"#CCCCCC\">\n<div align=\"";
  text += kAlign[align];
  text += "\">\n";
  text += toolBar();
  text += kClosingScript;
  WriteSiteFile(outputFolder / "pg_nav.htm", text);
}

}  // namespace qv
