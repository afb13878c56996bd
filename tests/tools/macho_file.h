// A minimal reader of 32-bit Mach-O files for the tests, independent of the
// linker's own: section headers, symbol table location, dyld info offsets.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace torvel::ld::test {

struct SectionInfo {
  std::string segname, sectname;
  uint32_t addr = 0, size = 0, offset = 0, reloff = 0, nreloc = 0, flags = 0;
  uint32_t headerOffset = 0;  // file offset of the section header
};

struct MachOInfo {
  uint32_t filetype = 0, flags = 0;
  std::vector<SectionInfo> sections;
  uint32_t symoff = 0, nsyms = 0, stroff = 0, strsize = 0;
  uint32_t symtabCommandOffset = 0;
  uint32_t dyldInfo[10] = {};  // rebase, bind, weak bind, lazy bind, export: offset and size
  const SectionInfo* find(const std::string& seg, const std::string& sect) const;
};

MachOInfo readMachO(const std::vector<uint8_t>& bytes);

uint32_t word(const std::vector<uint8_t>& bytes, uint32_t offset);
void setWord(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t value);

// Contents of the initialised section holding `addr`, at that address.
std::optional<uint32_t> wordAt(const MachOInfo& info, const std::vector<uint8_t>& bytes, uint32_t addr);

// Section of `info` holding `addr` ("__TEXT,__text"), or "" for none.
std::string sectionOf(const MachOInfo& info, uint32_t addr);

// Name -> address of the defined symbols in `llvm-nm -m` output.
std::map<std::string, uint32_t> definedSymbols(const std::string& nmOutput);

}  // namespace torvel::ld::test
