// The command line of torvel-ld.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "image.h"

namespace torvel::ld {

struct CommandLine {
  enum class Mode { Link, Dump, Help };
  Mode mode = Mode::Link;
  LinkOptions link;
  std::string dumpPath;
};

extern const char* const kUsage;

// Throws LinkError with a message for bad or missing options.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// "10.6" -> 0x000A0600, "1.2.3" -> 0x00010203.
uint32_t parseVersion(const std::string& text, const std::string& option);

// Reads a list of allowed import names: one per line, '#' starts a comment.
std::vector<std::string> readImportList(const std::string& path);

}  // namespace torvel::ld
