#include "tool_runner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace torvel::ld::test {

namespace {

std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "torvel-ld-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

RunResult run(const std::vector<std::string>& argv) {
  static int counter = 0;
  std::string base = (std::filesystem::temp_directory_path() /
                      ("torvel-ld-run-" + std::to_string(getpid()) + "-" + std::to_string(counter++)))
                         .string();
  std::string cmd;
  for (const std::string& a : argv) cmd += quote(a) + " ";
  cmd += ">" + quote(base + ".out") + " 2>" + quote(base + ".err");
  int status = std::system(cmd.c_str());
  RunResult r;
  r.out = slurp(base + ".out");
  r.err = slurp(base + ".err");
  std::filesystem::remove(base + ".out");
  std::filesystem::remove(base + ".err");
  if (WIFEXITED(status)) {
    r.exitCode = WEXITSTATUS(status);
    // The shell reports a child killed by a signal as 128 + signal.
    r.crashed = r.exitCode > 128;
  } else {
    r.crashed = true;
  }
  return r;
}

std::string compileSource(const ScratchDir& dir, const std::string& name, const std::string& source,
                          const std::vector<std::string>& extraFlags) {
  std::string path = dir.file(name);
  writeBytes(path, std::vector<uint8_t>(source.begin(), source.end()));
  bool cxx = name.ends_with(".cpp");
  std::vector<std::string> argv = {cxx ? TORVEL_CLANGXX : TORVEL_CLANG, "-target", "i386-apple-macosx10.6", "-O1",
                                   "-c", path, "-o", path + ".o"};
  if (cxx) argv.insert(argv.end(), {"-nostdinc++", "-fexceptions"});
  argv.insert(argv.end(), extraFlags.begin(), extraFlags.end());
  RunResult r = run(argv);
  EXPECT_EQ(r.exitCode, 0) << "compiling " << name << ":\n" << r.err;
  return path + ".o";
}

std::string compileFixture(const ScratchDir& dir, const std::string& name, const std::string& version,
                           const std::vector<std::string>& extraFlags) {
  bool cxx = name.ends_with(".cpp");
  std::string object = dir.file(name + ".o");
  std::vector<std::string> argv = {cxx ? TORVEL_CLANGXX : TORVEL_CLANG,
                                   "-target",
                                   "i386-apple-macosx" + version,
                                   "-O2",
                                   "-c",
                                   std::string(TORVEL_FIXTURES) + "/" + name,
                                   "-o",
                                   object};
  if (cxx) argv.insert(argv.end(), {"-nostdinc++", "-fexceptions"});
  argv.insert(argv.end(), extraFlags.begin(), extraFlags.end());
  RunResult r = run(argv);
  EXPECT_EQ(r.exitCode, 0) << "compiling " << name << ":\n" << r.err;
  return object;
}

RunResult linkDylib(const std::string& output, const std::vector<std::string>& objects,
                    const std::vector<std::string>& extraArgs, const std::string& installName,
                    const std::string& version) {
  std::vector<std::string> argv = {TORVEL_LD, "-o", output, "--install-name", installName, "--macosx-version-min",
                                   version};
  argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
  argv.insert(argv.end(), objects.begin(), objects.end());
  return run(argv);
}

std::string objdump(const std::vector<std::string>& options, const std::string& file) {
  std::vector<std::string> argv = {TORVEL_LLVM_OBJDUMP};
  argv.insert(argv.end(), options.begin(), options.end());
  argv.push_back(file);
  RunResult r = run(argv);
  EXPECT_EQ(r.exitCode, 0) << "llvm-objdump failed:\n" << r.err;
  return r.out;
}

std::string nm(const std::string& file) {
  RunResult r = run({TORVEL_LLVM_NM, "-m", file});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

std::string dwarfdumpEhFrame(const std::string& file) {
  RunResult r = run({TORVEL_LLVM_DWARFDUMP, "--eh-frame", file});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

std::string ownDump(const std::string& file) {
  RunResult r = run({TORVEL_LD, "--dump", file});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

std::vector<uint8_t> readBytes(const std::string& path) {
  std::string s = slurp(path);
  return std::vector<uint8_t>(s.begin(), s.end());
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace torvel::ld::test
