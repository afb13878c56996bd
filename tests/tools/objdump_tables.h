// Parsers for the tables llvm-objdump --macho prints.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace torvel::ld::test {

struct IndirectEntry {
  uint32_t address;
  std::string name;  // symbol name, "LOCAL" or "ABSOLUTE"
};
// --indirect-symbols: "__TEXT,__symbol_stub" -> entries in order.
std::map<std::string, std::vector<IndirectEntry>> parseIndirectSymbols(const std::string& text);

struct BindEntry {
  std::string section;  // "__DATA,__const"
  uint32_t address = 0;
  int64_t addend = 0;
  std::string dylib;  // empty for weak binds
  std::string symbol;
  bool weakImport = false;
};
// --bind, --lazy-bind or --weak-bind output.
std::vector<BindEntry> parseBindTable(const std::string& text);

struct ExportEntry {
  uint32_t address;
  std::string name;
  bool weak;
};
std::vector<ExportEntry> parseExports(const std::string& text);

struct Instruction {
  uint32_t address;
  std::string text;  // mnemonic and operands
};
// `llvm-objdump -d` output of one function (from its label to the next).
std::vector<Instruction> disassemblyOf(const std::string& text, const std::string& function);

}  // namespace torvel::ld::test
