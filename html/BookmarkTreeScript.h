#pragma once

// The fixed script of the bookmark page: a folder-and-document tree drawn with
// document.write while the page's head is parsed, whose folders open and close when their
// node images are clicked and whose entries call the navigation frame's gotopage.

#include <string_view>

namespace qv {

extern const std::string_view kBookmarkTreeScript;

}  // namespace qv
