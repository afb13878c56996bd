// Runs the compilers, the linker and the LLVM inspection tools for the tests,
// in a scratch folder that is removed afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvel::ld::test {

struct RunResult {
  int exitCode = -1;
  bool crashed = false;  // ended by a signal
  std::string out;
  std::string err;
};

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

RunResult run(const std::vector<std::string>& argv);

// Compiles fixtures/<name> (.c or .cpp) for i386-apple-macosx<version> into
// `dir`; returns the object's path. Fails the test on a compiler error.
std::string compileFixture(const ScratchDir& dir, const std::string& name, const std::string& version = "10.6",
                           const std::vector<std::string>& extraFlags = {});
// Compiles source text given by the test.
std::string compileSource(const ScratchDir& dir, const std::string& name, const std::string& source,
                          const std::vector<std::string>& extraFlags = {});

RunResult linkDylib(const std::string& output, const std::vector<std::string>& objects,
                    const std::vector<std::string>& extraArgs = {"--all-undefined-are-imports"},
                    const std::string& installName = "/usr/lib/libtorvelrt.dylib", const std::string& version = "10.6");

// llvm-objdump --macho <options> <file>; fails the test if it fails.
std::string objdump(const std::vector<std::string>& options, const std::string& file);
std::string nm(const std::string& file);
std::string dwarfdumpEhFrame(const std::string& file);
std::string ownDump(const std::string& file);

std::vector<uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<std::string> lines(const std::string& text);
bool contains(const std::string& text, const std::string& part);

}  // namespace torvel::ld::test
