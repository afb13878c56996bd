#include "options.h"

#include <fstream>

#include "diagnostics.h"

namespace torvel::ld {

const char* const kUsage =
    "usage: torvel-ld -o OUTPUT --install-name PATH --macosx-version-min 10.6|10.7\n"
    "                 [--imports FILE]... [--import NAME]... [--all-undefined-are-imports]\n"
    "                 [--current-version X.Y.Z] [--compatibility-version X.Y.Z] OBJECT...\n"
    "       torvel-ld --dump DYLIB\n"
    "\n"
    "Links i386 Mach-O object files into one MH_DYLIB that depends only on\n"
    "/usr/lib/libSystem.B.dylib. Every undefined name must be an allowed import:\n"
    "listed in an --imports file (one Mach-O name per line, '#' comments) or\n"
    "named by --import, unless --all-undefined-are-imports is given.\n"
    "--dump prints the dylib's segments, sections and decoded dyld information.\n";

uint32_t parseVersion(const std::string& text, const std::string& option) {
  uint32_t parts[3] = {0, 0, 0};
  int count = 0;
  size_t i = 0;
  while (i <= text.size()) {
    size_t dot = text.find('.', i);
    std::string piece = text.substr(i, dot == std::string::npos ? std::string::npos : dot - i);
    if (piece.empty() || piece.size() > 5 || piece.find_first_not_of("0123456789") != std::string::npos || count == 3)
      fail(option + ": '" + text + "' is not a version of the form X[.Y[.Z]]");
    parts[count++] = uint32_t(std::stoul(piece));
    if (dot == std::string::npos) break;
    i = dot + 1;
  }
  if (parts[0] > 0xFFFF || parts[1] > 0xFF || parts[2] > 0xFF) fail(option + ": version '" + text + "' out of range");
  return (parts[0] << 16) | (parts[1] << 8) | parts[2];
}

std::vector<std::string> readImportList(const std::string& path) {
  std::ifstream in(path);
  if (!in) fail(path + ": cannot open import list");
  std::vector<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    size_t b = line.find_first_not_of(" \t\r");
    if (b == std::string::npos) continue;
    size_t e = line.find_last_not_of(" \t\r");
    names.push_back(line.substr(b, e - b + 1));
  }
  return names;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  bool sawMin = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) fail("option " + a + " needs a value");
      return args[++i];
    };
    if (a == "-o") {
      cl.link.output = value();
    } else if (a == "--install-name") {
      cl.link.installName = value();
    } else if (a == "--macosx-version-min") {
      const std::string& v = value();
      if (v != "10.6" && v != "10.7") fail("--macosx-version-min: only 10.6 and 10.7 are supported, not '" + v + "'");
      cl.link.minVersion = parseVersion(v, a);
      sawMin = true;
    } else if (a == "--current-version") {
      cl.link.currentVersion = parseVersion(value(), a);
    } else if (a == "--compatibility-version") {
      cl.link.compatibilityVersion = parseVersion(value(), a);
    } else if (a == "--imports") {
      for (std::string& n : readImportList(value())) cl.link.allowedImports.push_back(std::move(n));
    } else if (a == "--import") {
      cl.link.allowedImports.push_back(value());
    } else if (a == "--all-undefined-are-imports") {
      cl.link.allUndefinedAreImports = true;
    } else if (a == "--dump") {
      cl.mode = CommandLine::Mode::Dump;
      cl.dumpPath = value();
    } else if (a == "-h" || a == "--help") {
      cl.mode = CommandLine::Mode::Help;
      return cl;
    } else if (!a.empty() && a[0] == '-') {
      fail("unknown option " + a);
    } else {
      cl.link.inputs.push_back(a);
    }
  }
  if (cl.mode == CommandLine::Mode::Dump) return cl;
  if (cl.link.output.empty()) fail("missing -o OUTPUT");
  if (cl.link.installName.empty()) fail("missing --install-name PATH");
  if (!sawMin) fail("missing --macosx-version-min 10.6|10.7");
  if (cl.link.inputs.empty()) fail("no input files");
  return cl;
}

}  // namespace torvel::ld
