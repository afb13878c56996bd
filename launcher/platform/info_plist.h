#pragma once
// The two Info.plist entries the launcher needs, read with libplist from
// either the XML or the binary property-list format.

#include <optional>
#include <string>

namespace vornik {

struct InfoPlist {
    std::optional<std::string> bundleIdentifier;  // CFBundleIdentifier
    std::optional<std::string> executableName;    // CFBundleExecutable
};

// Nothing when the data is not a property list whose top level is a dictionary.
std::optional<InfoPlist> parseInfoPlist(const std::string& data);

// Nothing when the file cannot be read (or is unreasonably large) or does not parse.
std::optional<InfoPlist> readInfoPlist(const std::string& path);

}  // namespace vornik
