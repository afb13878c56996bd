// Runs linked code: smoke/smoke_loader.c maps the dylib in a 32-bit process
// under qemu-i386, rebases and binds it as dyld would, resolves lazy pointers
// through the stub helper and its own dyld_stub_binder, runs the module
// initialisers and calls the exported _smoke_main.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace torvel::ld::test {
namespace {

TEST(Runtime, LinkedCodeRunsThroughStubsBindsAndRebases) {
  ScratchDir dir;
  std::string main = compileFixture(dir, "smoke_main.c");
  std::string weak = compileFixture(dir, "smoke_weak.c");
  const std::vector<std::string> imports = {"--import", "_host_add", "--import", "_host_values", "--import", "_host_log"};
  // Both orders: each object's sections land at different places.
  for (const auto& objects : {std::vector<std::string>{main, weak}, std::vector<std::string>{weak, main}}) {
    std::string lib = dir.file("smoke.dylib");
    RunResult link = linkDylib(lib, objects, imports);
    ASSERT_EQ(link.exitCode, 0) << link.err;
    RunResult r = run({TORVEL_QEMU_I386, TORVEL_SMOKE_LOADER, lib});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // 42 + 300 + 6 + 6 + 0 + 5; two names bound lazily, each once.
    EXPECT_EQ(r.out, "log: hello from the dylib\nresult: 359\nlazy binds: 2\n");
  }
}

}  // namespace
}  // namespace torvel::ld::test
