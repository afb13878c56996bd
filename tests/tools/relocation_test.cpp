// Relocation kinds checked value by value: pointers in data (plain, with
// offsets outside their target, across objects), pc-relative code reaching
// data and pointer slots, jump tables, tentative definitions, __dso_handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "macho_file.h"
#include "objdump_tables.h"
#include "tool_runner.h"

namespace torvel::ld::test {
namespace {

const char* const kDataFirst = R"(
int other_value = 42;
int filler[3] = {1, 2, 3};
int sum_filler(void) { return filler[0] + filler[1] + filler[2]; }
)";

const char* const kDataSecond = R"(
int table[8] = {1, 2, 3, 4, 5, 6, 7, 8};
static int hidden_table[4] = {9, 9, 9, 9};
int *past_end = table + 8;
int *before = table - 1;
int *inside = &table[2];
int *hidden_ptr = &hidden_table[1];
const char *greeting = "hello";
int add(int a, int b) { return a + b; }
int (*adder)(int, int) = add;
extern int other_value;
int *other_ptr = &other_value + 1;
int read_table(int i) { return table[i] + hidden_table[i & 3]; }
int read_other(void) { return other_value; }
)";

// Addresses the code computes from its PIC base: `call 1f; 1: pop %reg`
// followed by `disp(%reg...)` operands.
std::set<uint32_t> picTargets(const std::vector<Instruction>& code) {
  std::set<uint32_t> targets;
  std::regex pop(R"(^popl\s+%(e[a-z]{2}))");
  std::string reg;
  uint32_t base = 0;
  for (const Instruction& ins : code) {
    std::smatch m;
    if (std::regex_search(ins.text, m, pop)) {
      reg = m[1];
      base = ins.address;
      continue;
    }
    if (reg.empty()) continue;
    std::regex use("(-?[0-9]+)\\(%" + reg + "[,)]");
    if (std::regex_search(ins.text, m, use)) targets.insert(base + uint32_t(std::stol(m[1])));
  }
  return targets;
}

TEST(Relocations, PointersInDataReachTheirTargets) {
  ScratchDir dir;
  std::string first = compileSource(dir, "first.c", kDataFirst);
  std::string second = compileSource(dir, "second.c", kDataSecond);
  std::string lib = dir.file("data.dylib");
  RunResult r = linkDylib(lib, {first, second}, {});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  auto sym = definedSymbols(nm(lib));
  auto bytes = readBytes(lib);
  MachOInfo info = readMachO(bytes);
  auto pointee = [&](const std::string& name) {
    auto v = wordAt(info, bytes, sym.at(name));
    EXPECT_TRUE(v.has_value()) << name;
    return v.value_or(0);
  };
  uint32_t table = sym.at("_table");
  EXPECT_EQ(pointee("_past_end"), table + 32);
  EXPECT_EQ(pointee("_before"), table - 4);
  EXPECT_EQ(pointee("_inside"), table + 8);
  EXPECT_EQ(pointee("_hidden_ptr"), sym.at("_hidden_table") + 4);
  EXPECT_EQ(pointee("_adder"), sym.at("_add"));
  EXPECT_EQ(pointee("_other_ptr"), sym.at("_other_value") + 4);
  uint32_t greeting = pointee("_greeting");
  EXPECT_EQ(sectionOf(info, greeting), "__TEXT,__cstring");
  const SectionInfo* cstrings = info.find("__TEXT", "__cstring");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[cstrings->offset + greeting - cstrings->addr])), "hello");

  // Nothing is imported, so nothing is bound and there are no stubs: every
  // rebase is in __DATA, where llvm-objdump reads them as dyld does.
  EXPECT_TRUE(parseBindTable(objdump({"--macho", "--bind"}, lib)).empty());
  EXPECT_EQ(info.find("__TEXT", "__symbol_stub"), nullptr);
  std::set<uint32_t> theirs, ours;
  std::regex row(R"(^__DATA\s+\S+\s+0x([0-9A-F]+)\s+pointer$)");
  for (const std::string& line : lines(objdump({"--macho", "--rebase"}, lib))) {
    std::smatch m;
    if (std::regex_match(line, m, row)) theirs.insert(uint32_t(std::stoul(m[1], nullptr, 16)));
  }
  std::regex own(R"(^rebase __DATA,\S+ 0x([0-9a-f]+) pointer$)");
  for (const std::string& line : lines(ownDump(lib))) {
    std::smatch m;
    if (std::regex_match(line, m, own)) ours.insert(uint32_t(std::stoul(m[1], nullptr, 16)));
  }
  EXPECT_EQ(theirs, ours);
  for (const char* p : {"_past_end", "_before", "_inside", "_hidden_ptr", "_adder", "_other_ptr", "_greeting"})
    EXPECT_TRUE(ours.count(sym.at(p))) << p << " has no rebase";

  // PIC code reaches its own data by section differences, and another
  // object's data through a pointer slot that holds its (rebased) address.
  std::string code = objdump({"--macho", "-d"}, lib);
  auto readTable = picTargets(disassemblyOf(code, "_read_table"));
  EXPECT_TRUE(readTable.count(table)) << "read_table does not reach table";
  EXPECT_TRUE(readTable.count(sym.at("_hidden_table")));
  auto readOther = picTargets(disassemblyOf(code, "_read_other"));
  ASSERT_EQ(readOther.size(), 1u);
  uint32_t slot = *readOther.begin();
  EXPECT_EQ(sectionOf(info, slot), "__DATA,__nl_symbol_ptr");
  EXPECT_EQ(wordAt(info, bytes, slot), sym.at("_other_value"));
  EXPECT_TRUE(ours.count(slot));
  // The slot holds a definition of this library, which dyld need not look
  // up: its indirect entry says so instead of naming the symbol.
  auto indirect = parseIndirectSymbols(objdump({"--macho", "--indirect-symbols"}, lib));
  ASSERT_EQ(indirect["__DATA,__nl_symbol_ptr"].size(), 1u);
  EXPECT_EQ(indirect["__DATA,__nl_symbol_ptr"][0].address, slot);
  EXPECT_EQ(indirect["__DATA,__nl_symbol_ptr"][0].name, "LOCAL");
}

TEST(Relocations, CodeReachesImportsThroughBoundSlots) {
  ScratchDir dir;
  std::string obj = compileSource(dir, "imports.c", R"(
typedef struct FILE FILE;
extern FILE *__stdoutp;
extern int fflush(FILE *);
int flush_out(void) { return fflush(__stdoutp); }
)");
  std::string lib = dir.file("imports.dylib");
  ASSERT_EQ(linkDylib(lib, {obj}, {"--import", "___stdoutp", "--import", "_fflush"}).exitCode, 0);
  auto targets = picTargets(disassemblyOf(objdump({"--macho", "-d"}, lib), "_flush_out"));
  ASSERT_EQ(targets.size(), 1u);
  auto binds = parseBindTable(objdump({"--macho", "--bind"}, lib));
  EXPECT_TRUE(std::any_of(binds.begin(), binds.end(), [&](const BindEntry& e) {
    return e.address == *targets.begin() && e.symbol == "___stdoutp" && e.section == "__DATA,__nl_symbol_ptr";
  }));
  auto indirect = parseIndirectSymbols(objdump({"--macho", "--indirect-symbols"}, lib));
  bool named = false;
  for (const IndirectEntry& e : indirect["__DATA,__nl_symbol_ptr"]) named |= e.address == *targets.begin() && e.name == "___stdoutp";
  EXPECT_TRUE(named);
}

TEST(Relocations, JumpTablesAreCopiedUnchanged) {
  ScratchDir dir;
  std::string first = compileSource(dir, "first.c", kDataFirst);
  std::string cImports = compileFixture(dir, "c_imports.c");
  std::string lib = dir.file("switch.dylib");
  ASSERT_EQ(linkDylib(lib, {first, cImports}).exitCode, 0);

  // The jump table is data inside __text: entries are distances between
  // labels of the same function and must survive as they are.
  std::string dataInCode = objdump({"--macho", "--data-in-code"}, cImports);
  ASSERT_TRUE(contains(dataInCode, "JUMP_TABLE32")) << dataInCode;

  auto objBytes = readBytes(cImports);
  MachOInfo objInfo = readMachO(objBytes);
  auto objSyms = definedSymbols(nm(cImports));
  uint32_t start = objSyms.at("_classify"), end = UINT32_MAX;
  for (const auto& [name, addr] : objSyms)
    if (addr > start && addr < end && sectionOf(objInfo, addr) == "__TEXT,__text") end = addr;
  ASSERT_NE(end, UINT32_MAX);
  const SectionInfo* objText = objInfo.find("__TEXT", "__text");

  auto libBytes = readBytes(lib);
  MachOInfo libInfo = readMachO(libBytes);
  uint32_t linked = definedSymbols(nm(lib)).at("_classify");
  const SectionInfo* libText = libInfo.find("__TEXT", "__text");
  ASSERT_NE(linked - libText->addr, start - objText->addr) << "the function should have moved";
  std::vector<uint8_t> before(objBytes.begin() + objText->offset + (start - objText->addr),
                              objBytes.begin() + objText->offset + (end - objText->addr));
  std::vector<uint8_t> after(libBytes.begin() + libText->offset + (linked - libText->addr),
                             libBytes.begin() + libText->offset + (linked - libText->addr) + before.size());
  EXPECT_EQ(before, after);
}

// Hidden weak definitions (inline functions' statics, template members,
// inline functions whose address is taken) are reached from PIC code by
// section differences. Every object must reach the one copy the link keeps,
// not its own discarded one.
const char* const kHiddenWeak = R"(
inline int& counter() { static int c; return c; }
template <class T> struct Box { static int value; };
template <class T> int Box<T>::value = 5;
inline int helper(int x) { return x + 1; }
typedef int (*fn)(int);
int bump_SUFFIX() { Box<char>::value++; return ++counter(); }
int* past_SUFFIX() { return &Box<char>::value + 1; }
fn take_SUFFIX() { return &helper; }
)";

TEST(Relocations, SectionDifferencesReachTheKeptCopyOfAWeakDefinition) {
  ScratchDir dir;
  std::vector<std::string> objects;
  for (const char* suffix : {"a", "b"}) {
    std::string source = std::regex_replace(kHiddenWeak, std::regex("SUFFIX"), suffix);
    objects.push_back(compileSource(dir, std::string("weak_") + suffix + ".cpp", source,
                                    {"-fvisibility=hidden", "-fvisibility-inlines-hidden"}));
  }
  std::string lib = dir.file("weak.dylib");
  RunResult r = linkDylib(lib, objects, {});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  // The kept copies are the first object's; the symbol table names them.
  std::string symbols = nm(lib);
  auto sym = definedSymbols(symbols);
  uint32_t counter = sym.at("__ZZ7countervE1c"), value = sym.at("__ZN3BoxIcE5valueE"), helper = sym.at("__Z6helperi");
  std::string code = objdump({"--macho", "-d"}, lib);
  struct Case {
    const char* function;
    std::set<uint32_t> reaches;
  };
  for (const char* suffix : {"a", "b"}) {
    std::string s(suffix);
    for (const Case& c : {Case{"bump_", {counter, value}}, Case{"past_", {value + 4}}, Case{"take_", {helper}}}) {
      std::string function = "__Z" + std::to_string(std::string(c.function).size() + 1) + c.function + s + "v";
      SCOPED_TRACE(function);
      // Up to its return: the second object's discarded copies follow its
      // functions without a label of their own.
      auto body = disassemblyOf(code, function);
      auto ret = std::find_if(body.begin(), body.end(), [](const Instruction& i) { return i.text.rfind("ret", 0) == 0; });
      body.erase(ret, body.end());
      EXPECT_EQ(picTargets(body), c.reaches);
    }
  }
}

TEST(Relocations, TentativeDefinitionsShareOneZeroFilledBlock) {
  ScratchDir dir;
  std::string a = compileSource(dir, "a.c", "int tentative[100];\nint first(void) { return tentative[1]; }\n", {"-fcommon"});
  std::string b = compileSource(dir, "b.c", "int tentative[50];\nint second(void) { return tentative[2]; }\n", {"-fcommon"});
  std::string lib = dir.file("common.dylib");
  RunResult r = linkDylib(lib, {a, b}, {});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  MachOInfo info = readMachO(readBytes(lib));
  const SectionInfo* common = info.find("__DATA", "__common");
  ASSERT_NE(common, nullptr);
  EXPECT_EQ(common->size, 400u);
  EXPECT_EQ(definedSymbols(nm(lib)).at("_tentative"), common->addr);
  auto exports = parseExports(objdump({"--macho", "--exports-trie"}, lib));
  EXPECT_TRUE(std::any_of(exports.begin(), exports.end(), [](const ExportEntry& e) { return e.name == "_tentative"; }));
}

// Code built without PIC holds absolute addresses in __text and __const:
// each is rebased as a text word, and exactly the sections holding such words
// ask dyld to make their pages writable while it rebases (S_ATTR_LOC_RELOC).
TEST(Relocations, AbsoluteAddressesInTextAreRebasedAndTheirSectionsMarked) {
  ScratchDir dir;
  std::string obj = compileSource(dir, "nopic.c", R"(
int table[8] = {1, 2, 3, 4, 5, 6, 7, 8};
static int hidden[4];
int read_table(int i) { return table[i] + hidden[i & 3]; }
int pick(int v, int x) {
  switch (v) { case 0: return x + 1; case 1: return x * 3; case 2: return x - 4; case 3: return x ^ 5; case 4: return x << 2; }
  return 0;
}
extern int imported(int);
int call_out(int x) { return imported(x) + 1; }
)", {"-fno-pic"});
  std::string lib = dir.file("nopic.dylib");
  RunResult r = linkDylib(lib, {obj}, {"--import", "_imported"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto bytes = readBytes(lib);
  MachOInfo info = readMachO(bytes);
  std::regex rebase(R"(^rebase (\S+) 0x([0-9a-f]+) (\S+)$)");
  std::set<std::string> rebasedText;
  for (const std::string& line : lines(ownDump(lib))) {
    std::smatch m;
    if (!std::regex_match(line, m, rebase) || std::string(m[1]).rfind("__TEXT,", 0) != 0) continue;
    EXPECT_EQ(m[3], "text-abs32") << line;
    rebasedText.insert(m[1]);
    auto value = wordAt(info, bytes, uint32_t(std::stoul(m[2], nullptr, 16)));
    ASSERT_TRUE(value.has_value()) << line;
    EXPECT_NE(sectionOf(info, *value), "") << line;
  }
  // Code, its jump table, and the stub and helper the import's call needs.
  for (const char* section : {"__TEXT,__text", "__TEXT,__const", "__TEXT,__symbol_stub", "__TEXT,__stub_helper"})
    EXPECT_TRUE(rebasedText.count(section)) << section;
  for (const SectionInfo& s : info.sections) {
    if (s.segname != "__TEXT") continue;
    bool marked = (s.flags & 0x100) != 0;  // S_ATTR_LOC_RELOC
    EXPECT_EQ(marked, rebasedText.count(s.segname + "," + s.sectname) == 1) << s.sectname;
  }
}

TEST(Relocations, HeaderNamesAreTheLibrarysOwnHeader) {
  // The DSO handle of __cxa_atexit and the header symbol clang-compiled code
  // may name instead: neither is an import, both point at the header.
  for (const char* name : {"__dso_handle", "_mh_dylib_header"}) {
    SCOPED_TRACE(name);
    ScratchDir dir;
    std::string source = std::string("extern \"C\" char ") + name + "[];\n" +
                         "extern \"C\" const void* header_address() { return " + name + "; }\n";
    std::string obj = compileSource(dir, "header.cpp", source, {"-fno-exceptions"});
    std::string lib = dir.file("header.dylib");
    RunResult r = linkDylib(lib, {obj}, {});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string symbols = nm(lib);
    EXPECT_FALSE(contains(symbols, std::string("_") + name)) << symbols;
    auto indirect = parseIndirectSymbols(objdump({"--macho", "--indirect-symbols"}, lib));
    auto bytes = readBytes(lib);
    MachOInfo info = readMachO(bytes);
    std::string dump = ownDump(lib);
    int localSlots = 0;
    for (const IndirectEntry& e : indirect["__DATA,__nl_symbol_ptr"]) {
      if (e.name != "LOCAL") continue;
      ++localSlots;
      EXPECT_EQ(wordAt(info, bytes, e.address), 0u);  // the mach_header sits at address 0
      char line[64];
      std::snprintf(line, sizeof line, "rebase __DATA,__nl_symbol_ptr 0x%08x pointer", e.address);
      EXPECT_TRUE(contains(dump, line)) << dump;
    }
    EXPECT_EQ(localSlots, 1);
  }
}

}  // namespace
}  // namespace torvel::ld::test
