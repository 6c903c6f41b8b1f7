#pragma once

// Opens a converted result the way the desktop does: a page in the browser, a folder in the
// file manager, both through xdg-open. The opener is started and never waited for; it
// cannot block or fail the caller.

#include <filesystem>

namespace qv {

// Starts xdg-open on the target, detached from this process; false when it could not be
// started (callers do not report that).
bool OpenWithDesktop(const std::filesystem::path& target);

}  // namespace qv
