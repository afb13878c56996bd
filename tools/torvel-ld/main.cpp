// torvel-ld: links i386 Mach-O objects into a dylib, or dumps a dylib.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "dylib_dump.h"
#include "linker.h"
#include "options.h"

namespace {

void writeOutput(const std::string& path, const std::vector<uint8_t>& bytes) {
  // Written to a temporary name and renamed, so a failed write never leaves
  // a truncated dylib under the real name.
  std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) torvel::ld::fail(path + ": cannot create output file");
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temp.c_str());
      torvel::ld::fail(path + ": write error");
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    torvel::ld::fail(path + ": cannot rename the finished output into place");
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    torvel::ld::CommandLine cl = torvel::ld::parseCommandLine(args);
    switch (cl.mode) {
      case torvel::ld::CommandLine::Mode::Help:
        std::fputs(torvel::ld::kUsage, stdout);
        return 0;
      case torvel::ld::CommandLine::Mode::Dump:
        std::fputs(torvel::ld::dumpDylib(torvel::ld::readWholeFile(cl.dumpPath), cl.dumpPath).c_str(), stdout);
        return 0;
      case torvel::ld::CommandLine::Mode::Link:
        writeOutput(cl.link.output, torvel::ld::link(cl.link));
        return 0;
    }
  } catch (const torvel::ld::LinkError& e) {
    std::fprintf(stderr, "torvel-ld: error: %s\n", e.what());
    return 1;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "torvel-ld: error: out of memory\n");
    return 1;
  }
  return 1;
}
