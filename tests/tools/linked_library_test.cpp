// Links the fixtures into the two kinds of library the project ships and
// checks the result with llvm-objdump, llvm-nm, llvm-dwarfdump and --dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <set>

#include "macho_file.h"
#include "objdump_tables.h"
#include "tool_runner.h"

namespace torvel::ld::test {
namespace {

class LinkedLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<ScratchDir>();
    cxxFirst_ = compileFixture(*dir_, "cxx_classes.cpp", "10.7");
    cxxSecond_ = compileFixture(*dir_, "cxx_second.cpp", "10.7");
    cImports_ = compileFixture(*dir_, "c_imports.c", "10.7");
    manyExports_ = compileFixture(*dir_, "many_exports.c", "10.7");
    ios_ = dir_->file("libtorvelios.dylib");
    RunResult r = linkDylib(ios_, {cxxFirst_, cxxSecond_, cImports_, manyExports_}, {"--all-undefined-are-imports"},
                            "/usr/lib/libtorvelios.dylib", "10.7");
    ASSERT_EQ(r.exitCode, 0) << r.err;

    std::string cOnly = compileFixture(*dir_, "c_imports.c", "10.6");
    std::string list = dir_->file("imports.txt");
    std::string names =
        "# the imports c_imports.c needs\n_printf\n_malloc\n_free\n_fputs$UNIX2003\n___stdoutp\n"
        "_import_table\n_optional_feature\n";
    writeBytes(list, std::vector<uint8_t>(names.begin(), names.end()));
    rt_ = dir_->file("libtorvelrt.dylib");
    r = linkDylib(rt_, {cOnly}, {"--imports", list}, "/usr/lib/libtorvelrt.dylib", "10.6");
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  static void TearDownTestSuite() { dir_.reset(); }

  static std::unique_ptr<ScratchDir> dir_;
  static std::string cxxFirst_, cxxSecond_, cImports_, manyExports_, ios_, rt_;
};

std::unique_ptr<ScratchDir> LinkedLibrary::dir_;
std::string LinkedLibrary::cxxFirst_, LinkedLibrary::cxxSecond_, LinkedLibrary::cImports_,
    LinkedLibrary::manyExports_, LinkedLibrary::ios_, LinkedLibrary::rt_;

TEST_F(LinkedLibrary, HeadersNameTheLibraryItsVersionAndItsOnlyDependency) {
  struct Case {
    std::string file, installName, version;
    bool cxx;
  };
  for (const Case& c : {Case{ios_, "/usr/lib/libtorvelios.dylib", "10.7", true},
                        Case{rt_, "/usr/lib/libtorvelrt.dylib", "10.6", false}}) {
    SCOPED_TRACE(c.installName);
    std::string headers = objdump({"--macho", "--private-headers"}, c.file);
    EXPECT_TRUE(contains(headers, "DYLIB")) << headers;
    std::string flags = c.cxx ? "NOUNDEFS DYLDLINK TWOLEVEL WEAK_DEFINES BINDS_TO_WEAK NO_REEXPORTED_DYLIBS"
                              : "NOUNDEFS DYLDLINK TWOLEVEL NO_REEXPORTED_DYLIBS";
    EXPECT_TRUE(contains(headers, flags)) << headers;
    EXPECT_TRUE(contains(headers, "cmd LC_VERSION_MIN_MACOSX"));
    EXPECT_TRUE(contains(headers, "version " + c.version + "\n")) << headers;
    EXPECT_TRUE(contains(headers, "cmd LC_UUID"));
    EXPECT_TRUE(contains(headers, "cmd LC_DYLD_INFO_ONLY"));
    EXPECT_FALSE(contains(headers, "LC_UNIXTHREAD"));

    EXPECT_EQ(objdump({"--macho", "--dylib-id"}, c.file), c.file + ":\n" + c.installName + "\n");
    auto used = lines(objdump({"--macho", "--dylibs-used"}, c.file));
    ASSERT_EQ(used.size(), 3u);  // file name, own id, libSystem
    EXPECT_TRUE(contains(used[1], c.installName));
    EXPECT_TRUE(contains(used[2], "/usr/lib/libSystem.B.dylib (compatibility version 1.0.0"));
  }
}

TEST_F(LinkedLibrary, EveryUndefinedSymbolIsBoundAgainstLibSystem) {
  for (const std::string& file : {ios_, rt_}) {
    SCOPED_TRACE(file);
    int undefined = 0;
    for (const std::string& line : lines(nm(file))) {
      if (!contains(line, "(undefined")) continue;
      ++undefined;
      EXPECT_TRUE(contains(line, "(from libSystem)")) << line;
    }
    EXPECT_GT(undefined, 5);
    auto binds = parseBindTable(objdump({"--macho", "--bind"}, file));
    auto lazy = parseBindTable(objdump({"--macho", "--lazy-bind"}, file));
    EXPECT_FALSE(binds.empty());
    EXPECT_FALSE(lazy.empty());
    for (const auto& table : {binds, lazy})
      for (const BindEntry& e : table) EXPECT_EQ(e.dylib, "libSystem") << e.symbol;
    EXPECT_TRUE(std::any_of(binds.begin(), binds.end(), [](const BindEntry& e) { return e.symbol == "dyld_stub_binder"; }));
  }
}

TEST_F(LinkedLibrary, WeakImportsAreMarkedInEveryTable) {
  auto binds = parseBindTable(objdump({"--macho", "--bind"}, ios_));
  for (const BindEntry& e : binds) EXPECT_EQ(e.weakImport, e.symbol == "_optional_feature") << e.symbol;
  EXPECT_TRUE(contains(nm(ios_), "(undefined [lazy bound]) weak external _optional_feature (from libSystem)"));
  EXPECT_TRUE(contains(ownDump(ios_), "ordinal 1 weak-import _optional_feature"));
}

// --dump and llvm-objdump read the same bind, lazy-bind, weak-bind and export
// information (they disagree only on rebases in __TEXT).
TEST_F(LinkedLibrary, OwnDumpAgreesWithLlvmObjdump) {
  std::string dump = ownDump(ios_);
  struct Table {
    const char* option;
    const char* prefix;
  };
  for (const Table& t : {Table{"--bind", "bind"}, Table{"--lazy-bind", "lazy-bind"}, Table{"--weak-bind", "weak-bind"}}) {
    SCOPED_TRACE(t.option);
    std::set<std::pair<uint32_t, std::string>> theirs, ours;
    for (const BindEntry& e : parseBindTable(objdump({"--macho", t.option}, ios_))) theirs.insert({e.address, e.symbol});
    std::regex row(std::string("^") + t.prefix + R"( \S+ 0x([0-9a-f]+) .* (\S+)$)");
    for (const std::string& line : lines(dump)) {
      std::smatch m;
      if (std::regex_match(line, m, row)) ours.insert({uint32_t(std::stoul(m[1], nullptr, 16)), m[2]});
    }
    EXPECT_FALSE(ours.empty());
    EXPECT_EQ(theirs, ours);
  }
  std::set<std::pair<uint32_t, std::string>> theirs, ours;
  for (const ExportEntry& e : parseExports(objdump({"--macho", "--exports-trie"}, ios_)))
    theirs.insert({e.address, e.name + (e.weak ? " [weak]" : "")});
  std::regex row(R"(^export 0x([0-9a-f]+) (.*)$)");
  for (const std::string& line : lines(dump)) {
    std::smatch m;
    if (std::regex_match(line, m, row)) ours.insert({uint32_t(std::stoul(m[1], nullptr, 16)), m[2]});
  }
  EXPECT_EQ(theirs, ours);
}

TEST_F(LinkedLibrary, ImportedFunctionsAreCalledThroughStubsAndBoundLazily) {
  std::string text = objdump({"--macho", "-d"}, ios_);
  for (const char* callee : {"_printf", "_malloc", "_free", "_fputs$UNIX2003", "_puts", "___cxa_throw", "__Znwm"})
    EXPECT_TRUE(contains(text, "## symbol stub for: " + std::string(callee))) << callee;

  auto indirect = parseIndirectSymbols(objdump({"--macho", "--indirect-symbols"}, ios_));
  const auto& stubs = indirect["__TEXT,__symbol_stub"];
  const auto& lazy = indirect["__DATA,__la_symbol_ptr"];
  ASSERT_EQ(stubs.size(), lazy.size());
  ASSERT_FALSE(stubs.empty());

  // Each stub jumps through the lazy pointer that names the same symbol.
  std::string raw = objdump({"-d", "--section=__symbol_stub"}, ios_);
  std::regex jmp(R"(^\s*([0-9a-f]+):.*jmpl\s+\*(\d+)\s*$)");
  std::map<uint32_t, uint32_t> jumpTarget;
  for (const std::string& line : lines(raw)) {
    std::smatch m;
    if (std::regex_match(line, m, jmp)) jumpTarget[uint32_t(std::stoul(m[1], nullptr, 16))] = uint32_t(std::stoul(m[2]));
  }
  ASSERT_EQ(jumpTarget.size(), stubs.size());
  for (size_t i = 0; i < stubs.size(); ++i) {
    EXPECT_EQ(stubs[i].name, lazy[i].name);
    EXPECT_EQ(jumpTarget[stubs[i].address], lazy[i].address) << stubs[i].name;
  }

  // Each import's lazy pointer starts at a helper entry that pushes the
  // offset of the lazy-bind entry naming that import.
  auto bytes = readBytes(ios_);
  MachOInfo info = readMachO(bytes);
  const SectionInfo* helper = info.find("__TEXT", "__stub_helper");
  ASSERT_NE(helper, nullptr);
  uint32_t lazyOff = info.dyldInfo[6], lazySize = info.dyldInfo[7];
  std::set<std::string> lazyNames;
  for (const BindEntry& e : parseBindTable(objdump({"--macho", "--lazy-bind"}, ios_))) lazyNames.insert(e.symbol);
  int checked = 0;
  for (const IndirectEntry& slot : lazy) {
    uint32_t start = *wordAt(info, bytes, slot.address);
    if (!lazyNames.count(slot.name)) {
      EXPECT_EQ(sectionOf(info, start), "__TEXT,__text") << slot.name << " is a weak definition of the library";
      continue;
    }
    ASSERT_EQ(sectionOf(info, start), "__TEXT,__stub_helper") << slot.name;
    uint32_t entry = helper->offset + (start - helper->addr);
    ASSERT_EQ(bytes[entry], 0x68);  // push imm32
    uint32_t offset = word(bytes, entry + 1);
    ASSERT_LT(offset, lazySize);
    // The entry: SET_SEGMENT_AND_OFFSET, uleb, SET_DYLIB_ORDINAL_IMM 1, SET_SYMBOL flags, name.
    uint32_t p = lazyOff + offset;
    EXPECT_EQ(bytes[p] & 0xF0, 0x70);
    ++p;
    while (bytes[p] & 0x80) ++p;
    ++p;
    EXPECT_EQ(bytes[p++], 0x11);
    EXPECT_EQ(bytes[p++] & 0xF0, 0x40);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[p])), slot.name);
    ++checked;
  }
  EXPECT_EQ(checked, int(lazyNames.size()));

  // The common helper part pushes the image-cache slot and jumps through the
  // dyld_stub_binder slot.
  const auto& nl = indirect["__DATA,__nl_symbol_ptr"];
  ASSERT_GE(nl.size(), 2u);
  EXPECT_EQ(nl[0].name, "dyld_stub_binder");
  EXPECT_EQ(nl[1].name, "ABSOLUTE");
  EXPECT_EQ(bytes[helper->offset], 0x68);
  EXPECT_EQ(word(bytes, helper->offset + 1), nl[1].address);
  EXPECT_EQ(bytes[helper->offset + 5], 0xFF);
  EXPECT_EQ(bytes[helper->offset + 6], 0x25);
  EXPECT_EQ(word(bytes, helper->offset + 7), nl[0].address);
}

TEST_F(LinkedLibrary, WeakDefinitionsAreExportedWeakAndReachedThroughTheirName) {
  auto exports = parseExports(objdump({"--macho", "--exports-trie"}, ios_));
  std::map<std::string, bool> weak;
  for (const ExportEntry& e : exports) weak[e.name] = e.weak;
  // Template members and vague-linkage objects are weak, the rest regular.
  for (const char* name : {"__ZNK3BoxIiE5twiceEv", "__ZNK3BoxIiE3getEv", "__ZTV3BoxIiE", "__ZTI3BoxIiE", "_shared_weak"}) {
    ASSERT_TRUE(weak.count(name)) << name;
    EXPECT_TRUE(weak[name]) << name;
  }
  for (const char* name : {"__Z9box_twicei", "__Z7guardedi", "_classify", "_shared_data", "__Z11make_squarev"}) {
    ASSERT_TRUE(weak.count(name)) << name;
    EXPECT_FALSE(weak[name]) << name;
  }

  // Both objects call the weak member through one stub whose pointer is
  // weak-bound; the vtables' slots for weak members are weak-bound too.
  std::string text = objdump({"--macho", "-d"}, ios_);
  for (const char* caller : {"__Z9box_twicei", "__Z12second_twicei"}) {
    auto code = disassemblyOf(text, caller);
    EXPECT_TRUE(std::any_of(code.begin(), code.end(), [](const Instruction& i) {
      return contains(i.text, "symbol stub for: __ZNK3BoxIiE5twiceEv");
    })) << caller;
  }
  auto weakBinds = parseBindTable(objdump({"--macho", "--weak-bind"}, ios_));
  auto has = [&](const std::string& section, const std::string& symbol) {
    return std::any_of(weakBinds.begin(), weakBinds.end(),
                       [&](const BindEntry& e) { return e.section == section && e.symbol == symbol; });
  };
  EXPECT_TRUE(has("__DATA,__la_symbol_ptr", "__ZNK3BoxIiE5twiceEv"));
  EXPECT_TRUE(has("__DATA,__const", "__ZNK3BoxIiE3getEv"));
  EXPECT_TRUE(has("__DATA,__const", "__ZTI3BoxIiE"));
  EXPECT_TRUE(has("__DATA,__nl_symbol_ptr", "__ZTV3BoxIiE"));
  for (const BindEntry& e : weakBinds) EXPECT_TRUE(weak[e.symbol]) << e.symbol << " is not an exported weak definition";
  // A pointer slot dyld may redirect names its symbol in the indirect table.
  auto indirect = parseIndirectSymbols(objdump({"--macho", "--indirect-symbols"}, ios_));
  const auto& nl = indirect["__DATA,__nl_symbol_ptr"];
  EXPECT_TRUE(std::any_of(nl.begin(), nl.end(), [](const IndirectEntry& e) { return e.name == "__ZTV3BoxIiE"; }));
}

TEST_F(LinkedLibrary, ExportsMatchTheSymbolTableAndLeaveOutInternalNames) {
  auto symbols = definedSymbols(nm(ios_));
  auto exports = parseExports(objdump({"--macho", "--exports-trie"}, ios_));
  std::set<std::string> exported;
  for (const ExportEntry& e : exports) {
    exported.insert(e.name);
    ASSERT_TRUE(symbols.count(e.name)) << e.name;
    EXPECT_EQ(symbols[e.name], e.address) << e.name;
  }
  for (int i = 10; i <= 99; ++i) EXPECT_TRUE(exported.count("_shared_prefix_function_" + std::to_string(i))) << i;
  for (const char* name : {"_shared", "_shared_prefix", "_shared_data", "_message", "_run", "_import_slot"})
    EXPECT_TRUE(exported.count(name)) << name;
  for (const char* name : {"_hidden_helper", "__ZL6banner", "__ZL8messages", "_messages", "___dso_handle"})
    EXPECT_FALSE(exported.count(name)) << name;
  std::string table = nm(ios_);
  EXPECT_TRUE(contains(table, "non-external (was a private external) _hidden_helper")) << table;
}

TEST_F(LinkedLibrary, EveryRebaseLiesInASectionAndPointsIntoTheImage) {
  for (const std::string& file : {ios_, rt_}) {
    SCOPED_TRACE(file);
    auto bytes = readBytes(file);
    MachOInfo info = readMachO(bytes);
    // --dump decodes rebases as dyld does and fails on one outside every section.
    std::string dump = ownDump(file);
    std::regex rebase(R"(^rebase (\S+) 0x([0-9a-f]+) (\S+)$)");
    std::map<std::string, int> perSection;
    for (const std::string& line : lines(dump)) {
      std::smatch m;
      if (!std::regex_match(line, m, rebase)) continue;
      std::string section = m[1];
      uint32_t addr = uint32_t(std::stoul(m[2], nullptr, 16));
      ++perSection[section];
      if (section.rfind("__TEXT,", 0) == 0) {
        EXPECT_EQ(m[3], "text-abs32");
        EXPECT_TRUE(section == "__TEXT,__symbol_stub" || section == "__TEXT,__stub_helper") << section;
      } else {
        EXPECT_EQ(m[3], "pointer");
      }
      auto value = wordAt(info, bytes, addr);
      ASSERT_TRUE(value.has_value());
      EXPECT_NE(sectionOf(info, *value), "") << "pointer at " << std::hex << addr << " leads outside the image";
    }
    // The 40 message pointers, every lazy pointer, every stub.
    EXPECT_GE(perSection["__DATA,__const"], 40);
    EXPECT_EQ(perSection["__TEXT,__symbol_stub"], int(info.find("__TEXT", "__symbol_stub")->size / 6));
    EXPECT_EQ(perSection["__TEXT,__stub_helper"], 2);
  }
}

TEST_F(LinkedLibrary, ModuleInitialisersAreCarriedOverInInputOrder) {
  auto bytes = readBytes(ios_);
  MachOInfo info = readMachO(bytes);
  const SectionInfo* init = info.find("__DATA", "__mod_init_func");
  ASSERT_NE(init, nullptr);
  ASSERT_EQ(init->size, 8u);  // one initialiser in each C++ object, none in the C ones
  EXPECT_EQ(init->flags, 0x9u);
  std::string table = nm(ios_);
  std::map<std::string, uint32_t> locals;
  std::regex local(R"(^([0-9a-f]+) \(__TEXT,__text\) non-external (__GLOBAL__sub_I_\S+)$)");
  for (const std::string& line : lines(table)) {
    std::smatch m;
    if (std::regex_match(line, m, local)) locals[m[2]] = uint32_t(std::stoul(m[1], nullptr, 16));
  }
  ASSERT_EQ(locals.size(), 2u) << table;
  EXPECT_EQ(word(bytes, init->offset), locals["__GLOBAL__sub_I_cxx_classes.cpp"]);
  EXPECT_EQ(word(bytes, init->offset + 4), locals["__GLOBAL__sub_I_cxx_second.cpp"]);

  MachOInfo rtInfo = readMachO(readBytes(rt_));
  EXPECT_EQ(rtInfo.find("__DATA", "__mod_init_func"), nullptr);
}

TEST_F(LinkedLibrary, ExceptionFramesCoverTheFunctionsAndReachTheirTables) {
  auto symbols = definedSymbols(nm(ios_));
  auto bytes = readBytes(ios_);
  MachOInfo info = readMachO(bytes);
  std::string frames = dwarfdumpEhFrame(ios_);
  // llvm-dwarfdump widens the 32-bit pc-relative sums to 64 bits; compare the low words.
  std::regex fde(R"(FDE cie=[0-9a-f]+ pc=([0-9a-f]+)\.\.\.([0-9a-f]+))");
  std::set<uint32_t> starts;
  for (const std::string& line : lines(frames)) {
    std::smatch m;
    if (!std::regex_search(line, m, fde)) continue;
    uint32_t start = uint32_t(std::stoull(m[1], nullptr, 16));
    starts.insert(start);
    EXPECT_EQ(sectionOf(info, start), "__TEXT,__text") << line;
  }
  for (const char* fn : {"__Z5riskyi", "__Z7guardedi", "__Z9box_twicei", "__Z12second_twicei", "_classify", "_run"})
    EXPECT_TRUE(starts.count(symbols[fn])) << fn << " has no FDE";

  std::regex lsda(R"(LSDA Address: ([0-9a-f]+))");
  int lsdas = 0;
  for (const std::string& line : lines(frames)) {
    std::smatch m;
    if (!std::regex_search(line, m, lsda)) continue;
    ++lsdas;
    EXPECT_EQ(sectionOf(info, uint32_t(std::stoull(m[1], nullptr, 16))), "__TEXT,__gcc_except_tab") << line;
  }
  EXPECT_GE(lsdas, 1);

  // The personality is reached through the slot bound to ___gxx_personality_v0.
  std::regex personality(R"(Personality Address: ([0-9a-f]+))");
  auto binds = parseBindTable(objdump({"--macho", "--bind"}, ios_));
  int personalities = 0;
  for (const std::string& line : lines(frames)) {
    std::smatch m;
    if (!std::regex_search(line, m, personality)) continue;
    uint32_t slot = uint32_t(std::stoull(m[1], nullptr, 16));
    ++personalities;
    EXPECT_TRUE(std::any_of(binds.begin(), binds.end(), [&](const BindEntry& e) {
      return e.address == slot && e.symbol == "___gxx_personality_v0";
    })) << line;
  }
  EXPECT_GE(personalities, 1);
}

TEST_F(LinkedLibrary, SameInputsGiveByteIdenticalOutput) {
  std::string again = dir_->file("again.dylib");
  RunResult r = linkDylib(again, {cxxFirst_, cxxSecond_, cImports_, manyExports_}, {"--all-undefined-are-imports"},
                          "/usr/lib/libtorvelios.dylib", "10.7");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(readBytes(again), readBytes(ios_));

  std::string other = dir_->file("other.dylib");
  r = linkDylib(other, {cxxSecond_, cxxFirst_, cImports_, manyExports_}, {"--all-undefined-are-imports"},
                "/usr/lib/libtorvelios.dylib", "10.7");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto uuidOf = [](const std::string& file) {
    std::string headers = objdump({"--macho", "--private-headers"}, file);
    size_t at = headers.find("    uuid ");
    return at == std::string::npos ? std::string() : headers.substr(at, headers.find('\n', at) - at);
  };
  EXPECT_NE(uuidOf(ios_), "");
  EXPECT_NE(uuidOf(ios_), uuidOf(other));
}

}  // namespace
}  // namespace torvel::ld::test
