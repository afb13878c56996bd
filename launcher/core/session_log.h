#pragma once
// Session logs: one fresh file per launch in the user's log folder, and the
// rule that picks the latest one.

#include "launch_failure.h"
#include "services.h"

#include <optional>
#include <string>

namespace vornik {

// The log folder (not created here), or the failure to locate the Library folder.
Result<std::string> logsDirectory(Files& files);

// Creates the folder if needed and a new empty log named by a random UUID
// with ".log" appended, mode 600. Returns its path.
Result<std::string> newSessionLog(Files& files);

// The most recently modified log; among equal dates the one listed first.
// Nothing when there is none or the folder cannot be read.
std::optional<std::string> latestSessionLog(Files& files);

}  // namespace vornik
