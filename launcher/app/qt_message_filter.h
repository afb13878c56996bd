#pragma once
// Qt's own diagnostics, minus the one note that a launcher started outside a
// desktop session always gets and that reads like a fault: that
// $XDG_RUNTIME_DIR is not set. Qt then uses a private folder of its own
// under /tmp, which is all the launcher needs (it keeps no runtime files).
// Every other message passes to Qt's handler unchanged.

namespace vornik {

void installQtMessageFilter();

}  // namespace vornik
