// Malformed, unsupported and inconsistent input ends in one error message
// and exit status 1, never a crash and never an output file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "macho.h"
#include "macho_file.h"
#include "relocation_kinds.h"
#include "tool_runner.h"

namespace torvel::ld::test {
namespace {

const char* const kSample = R"(
extern int printf(const char *, ...);
static int counter;
const char *name_ptr = "name";
int bump(void) { return printf("%d", ++counter); }
)";

void expectCleanFailure(const RunResult& r, const std::string& output, const std::string& message) {
  EXPECT_FALSE(r.crashed) << r.err;
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.err.rfind("torvel-ld: error: ", 0), 0u) << r.err;
  EXPECT_TRUE(contains(r.err, message)) << "expected '" << message << "' in: " << r.err;
  EXPECT_FALSE(std::filesystem::exists(output));
  EXPECT_FALSE(std::filesystem::exists(output + ".tmp"));
}

// Offset of the first relocation entry of __text matching `pick`.
uint32_t findRelocation(const std::vector<uint8_t>& b, const std::function<bool(uint32_t, uint32_t)>& pick) {
  const MachOInfo info = readMachO(b);
  const SectionInfo* text = info.find("__TEXT", "__text");
  for (uint32_t i = 0; i < text->nreloc; ++i) {
    uint32_t at = text->reloff + 8 * i;
    if (pick(word(b, at), word(b, at + 4))) return at;
  }
  ADD_FAILURE() << "no such relocation in the sample";
  return text->reloff;
}
bool externalCall(uint32_t w0, uint32_t w1) { return !(w0 & 0x80000000u) && (w1 >> 27 & 1) && (w1 >> 24 & 1); }
bool sectionDifference(uint32_t w0, uint32_t) {
  uint32_t type = w0 >> 24 & 0xF;
  return (w0 & 0x80000000u) && (type == 2 || type == 4);
}

struct MalformedCase {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> damage;
  const char* message;
};

TEST(InputErrors, MalformedObjectsAreRejected) {
  ScratchDir dir;
  std::string good = compileSource(dir, "sample.c", kSample);
  const std::vector<uint8_t> original = readBytes(good);
  const MachOInfo info = readMachO(original);
  const SectionInfo text = *info.find("__TEXT", "__text");
  const uint32_t segmentCommand = 28;

  const std::vector<MalformedCase> cases = {
      {"truncated header", [](auto& b) { b.resize(20); }, "shorter than a Mach-O header"},
      {"truncated load commands", [](auto& b) { b.resize(100); }, "load commands extends past the end"},
      {"truncated section contents", [&](auto& b) { b.resize(text.offset + 4); }, "extends past the end of the file"},
      {"truncated symbol table", [&](auto& b) { b.resize(info.symoff + 5); }, "symbol table extends past the end"},
      {"section offset beyond the file", [&](auto& b) { setWord(b, text.headerOffset + 40, 0x7FFFFFF0); },
       "__TEXT,__text contents extends past the end"},
      {"relocations beyond the file", [&](auto& b) { setWord(b, text.headerOffset + 48, 0xFFFFFF00); },
       "__TEXT,__text relocations extends past the end"},
      {"symbol name outside the string table", [&](auto& b) { setWord(b, info.symoff, 0x00FFFFFF); },
       "outside the string table"},
      {"symbol in a section that does not exist", [&](auto& b) {
         for (uint32_t i = 0; i < info.nsyms; ++i)
           if ((b[info.symoff + 12 * i + 4] & 0x0E) == 0x0E) b[info.symoff + 12 * i + 5] = 99;
       }, "names section 99"},
      {"section count larger than the command", [&](auto& b) { setWord(b, segmentCommand + 48, 0x10000000); },
       "do not fit in its command"},
      {"load command of size zero", [&](auto& b) { setWord(b, segmentCommand + 4, 0); }, "has size 0"},
      {"not an i386 object", [](auto& b) { setWord(b, 4, 0x01000007); }, "not an i386 object"},
      {"not an object file", [](auto& b) { setWord(b, 12, 2); }, "is not an object file"},
      {"unknown relocation type", [&](auto& b) {
         uint32_t at = findRelocation(b, externalCall);
         setWord(b, at + 4, (word(b, at + 4) & 0x0FFFFFFF) | 0xB0000000);
       }, "unknown relocation type 11"},
      {"thread-local relocation", [&](auto& b) {
         uint32_t at = findRelocation(b, externalCall);
         setWord(b, at + 4, (word(b, at + 4) & 0x0FFFFFFF) | 0x50000000);
       }, "GENERIC_RELOC_TLV"},
      {"relocation outside its section", [&](auto& b) { setWord(b, findRelocation(b, externalCall), text.size + 64); },
       "lies outside the section"},
      {"relocation naming a symbol out of range", [&](auto& b) {
         uint32_t at = findRelocation(b, externalCall);
         setWord(b, at + 4, word(b, at + 4) | 0x00FFFFFF);
       }, "out of range"},
      {"section difference without its pair", [&](auto& b) {
         uint32_t at = findRelocation(b, sectionDifference);
         setWord(b, at + 8, word(b, at + 8) & 0xF0FFFFFF);  // PAIR becomes VANILLA
       }, "without its PAIR"},
      {"section difference into no section", [&](auto& b) {
         uint32_t at = findRelocation(b, sectionDifference);
         setWord(b, at + 4, 0x7FFF0000);
       }, "lies in no section"},
      {"unwind records after a terminator", [&](auto& b) {
         setWord(b, info.find("__TEXT", "__eh_frame")->offset, 0);  // the first record's length
       }, "records follow a zero terminator"},
  };
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = original;
    c.damage(bytes);
    std::string bad = dir.file("bad.o");
    writeBytes(bad, bytes);
    std::string out = dir.file("out.dylib");
    expectCleanFailure(linkDylib(out, {bad}), out, c.message);
    EXPECT_TRUE(contains(linkDylib(out, {bad}).err, bad));
  }
}

// Each row of the relocation kind table, put on a plain call (non-scattered,
// external, pc-relative) and on a section difference (scattered, followed by
// its PAIR), is applied or refused as the row says.
TEST(InputErrors, RelocationKindsAreAppliedOrRefusedAsTheirRowSays) {
  ScratchDir dir;
  const std::vector<uint8_t> original = readBytes(compileSource(dir, "sample.c", kSample));
  const uint32_t call = findRelocation(original, externalCall);
  const uint32_t difference = findRelocation(original, sectionDifference);
  std::string bad = dir.file("kind.o"), out = dir.file("out.dylib");
  auto linkWith = [&](const std::vector<uint8_t>& bytes) {
    writeBytes(bad, bytes);
    return linkDylib(out, {bad});
  };
  auto expectLinked = [&](const RunResult& r) {
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::filesystem::remove(out);
  };
  using Action = RelocationKind::Action;
  ASSERT_FALSE(relocationKinds().empty());
  for (const RelocationKind& kind : relocationKinds()) {
    SCOPED_TRACE(kind.name);
    ASSERT_EQ(relocationKind(kind.type), &kind);

    std::vector<uint8_t> onCall = original;
    setWord(onCall, call + 4, (word(onCall, call + 4) & 0x0FFFFFFF) | uint32_t(kind.type) << 28);
    if (kind.action == Action::Refuse)
      expectCleanFailure(linkWith(onCall), out, kind.refusal);
    else if (kind.scatteredOnly)
      expectCleanFailure(linkWith(onCall), out, std::string(kind.what) + " that is not a scattered relocation");
    else
      expectLinked(linkWith(onCall));

    std::vector<uint8_t> onDifference = original;
    setWord(onDifference, difference, (word(onDifference, difference) & 0xF0FFFFFF) | uint32_t(kind.type) << 24);
    if (kind.action == Action::Refuse)
      expectCleanFailure(linkWith(onDifference), out, kind.refusal);
    else if (!kind.needsPair)  // the section difference's PAIR is then met on its own
      expectCleanFailure(linkWith(onDifference), out, relocationKind(MachO::GENERIC_RELOC_PAIR)->refusal);
    else
      expectLinked(linkWith(onDifference));

    if (kind.action != Action::Refuse && kind.needsPair && !kind.mayBePcRelative) {
      setWord(onDifference, difference, word(onDifference, difference) | 0x40000000);  // pc-relative
      expectCleanFailure(linkWith(onDifference), out, "pc-relative " + std::string(kind.what));
    }
  }
  expectCleanFailure(linkWith([&] {
                       std::vector<uint8_t> b = original;
                       setWord(b, call + 4, (word(b, call + 4) & 0x0FFFFFFF) | 0xF0000000);
                       return b;
                     }()),
                     out, "unknown relocation type 15");
}

TEST(InputErrors, InconsistentOrUnsupportedProgramsAreRejected) {
  ScratchDir dir;
  std::string out = dir.file("out.dylib");
  std::string dupA = compileSource(dir, "dup_a.c", "int dup = 1;\n");
  std::string dupB = compileSource(dir, "dup_b.c", "int dup = 2;\n");
  expectCleanFailure(linkDylib(out, {dupA, dupB}), out, "duplicate symbol _dup");

  // A misspelt import must not slip through as a dependency on libSystem.
  std::string typo = compileSource(dir, "typo.c", "extern int pritnf(const char *, ...);\nint f(void) { return pritnf(\"x\"); }\n");
  expectCleanFailure(linkDylib(out, {typo}, {"--import", "_printf"}), out, "_pritnf (referenced from " + typo + ")");

  std::string tls = compileSource(dir, "tls.c", "__thread int per_thread;\nint get(void) { return per_thread; }\n",
                                  {"-target", "i386-apple-macosx10.7"});
  expectCleanFailure(linkDylib(out, {tls}), out, "thread-local variables are not supported");

  std::string wide = compileSource(dir, "wide.c", "int f(void) { return 1; }\n", {"-target", "x86_64-apple-macosx10.7"});
  expectCleanFailure(linkDylib(out, {wide}), out, "64-bit");

  expectCleanFailure(linkDylib(out, {dir.file("missing.o")}), out, "cannot open");
}

TEST(InputErrors, BadCommandLinesAreRejected) {
  ScratchDir dir;
  std::string obj = compileSource(dir, "ok.c", "int f(void) { return 1; }\n");
  std::string out = dir.file("out.dylib");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"-o", out, "--macosx-version-min", "10.6", obj}, "missing --install-name"},
      {{"-o", out, "--install-name", "/usr/lib/x.dylib", obj}, "missing --macosx-version-min"},
      {{"-o", out, "--install-name", "/usr/lib/x.dylib", "--macosx-version-min", "10.8", obj}, "only 10.6 and 10.7"},
      {{"-o", out, "--install-name", "/usr/lib/x.dylib", "--macosx-version-min", "10.6", "--frobnicate", obj},
       "unknown option --frobnicate"},
      {{"-o", out, "--install-name", "/usr/lib/x.dylib", "--macosx-version-min", "10.6"}, "no input files"},
      {{"-o", out, "--install-name", "/usr/lib/x.dylib", "--macosx-version-min", "10.6", "--current-version", "1.x",
        obj},
       "not a version"},
      {{"-o", out, "--install-name", "/usr/lib/x.dylib", "--macosx-version-min", "10.6", "--imports",
        dir.file("none.txt"), obj},
       "cannot open import list"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv = {TORVEL_LD};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    expectCleanFailure(run(argv), out, c.message);
  }
}

TEST(InputErrors, DumpRejectsFilesThatAreNotDylibs) {
  ScratchDir dir;
  std::string obj = compileSource(dir, "ok.c", "int f(void) { return 1; }\n");
  RunResult r = run({TORVEL_LD, "--dump", obj});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(r.crashed);
  EXPECT_TRUE(contains(r.err, "not a 32-bit Mach-O dylib")) << r.err;
}

}  // namespace
}  // namespace torvel::ld::test
