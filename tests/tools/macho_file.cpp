#include "macho_file.h"

#include <sstream>
#include <stdexcept>

namespace torvel::ld::test {

uint32_t word(const std::vector<uint8_t>& b, uint32_t o) {
  if (uint64_t(o) + 4 > b.size()) throw std::out_of_range("word past the end of the file");
  return uint32_t(b[o]) | uint32_t(b[o + 1]) << 8 | uint32_t(b[o + 2]) << 16 | uint32_t(b[o + 3]) << 24;
}

void setWord(std::vector<uint8_t>& b, uint32_t o, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(o + i) = uint8_t(v >> (8 * i));
}

static std::string name16(const std::vector<uint8_t>& b, uint32_t o) {
  std::string s;
  for (int i = 0; i < 16 && b.at(o + i); ++i) s += char(b[o + i]);
  return s;
}

MachOInfo readMachO(const std::vector<uint8_t>& b) {
  MachOInfo info;
  if (word(b, 0) != 0xFEEDFACE) throw std::runtime_error("not a 32-bit Mach-O file");
  info.filetype = word(b, 12);
  info.flags = word(b, 24);
  uint32_t ncmds = word(b, 16), at = 28;
  for (uint32_t i = 0; i < ncmds; ++i) {
    uint32_t cmd = word(b, at), size = word(b, at + 4);
    if (cmd == 0x1) {
      uint32_t n = word(b, at + 48);
      for (uint32_t s = 0; s < n; ++s) {
        uint32_t h = at + 56 + 68 * s;
        SectionInfo sec;
        sec.sectname = name16(b, h);
        sec.segname = name16(b, h + 16);
        sec.addr = word(b, h + 32);
        sec.size = word(b, h + 36);
        sec.offset = word(b, h + 40);
        sec.reloff = word(b, h + 48);
        sec.nreloc = word(b, h + 52);
        sec.flags = word(b, h + 56);
        sec.headerOffset = h;
        info.sections.push_back(sec);
      }
    } else if (cmd == 0x2) {
      info.symtabCommandOffset = at;
      info.symoff = word(b, at + 8);
      info.nsyms = word(b, at + 12);
      info.stroff = word(b, at + 16);
      info.strsize = word(b, at + 20);
    } else if (cmd == 0x80000022) {
      for (int k = 0; k < 10; ++k) info.dyldInfo[k] = word(b, at + 8 + 4 * k);
    }
    at += size;
  }
  return info;
}

const SectionInfo* MachOInfo::find(const std::string& seg, const std::string& sect) const {
  for (const SectionInfo& s : sections)
    if (s.segname == seg && s.sectname == sect) return &s;
  return nullptr;
}

std::optional<uint32_t> wordAt(const MachOInfo& info, const std::vector<uint8_t>& bytes, uint32_t addr) {
  for (const SectionInfo& s : info.sections) {
    if ((s.flags & 0xFF) == 1) continue;  // zero-fill
    if (addr >= s.addr && addr - s.addr + 4 <= s.size) return word(bytes, s.offset + (addr - s.addr));
  }
  return std::nullopt;
}

std::string sectionOf(const MachOInfo& info, uint32_t addr) {
  for (const SectionInfo& s : info.sections)
    if (addr >= s.addr && addr - s.addr < s.size) return s.segname + "," + s.sectname;
  return "";
}

std::map<std::string, uint32_t> definedSymbols(const std::string& nmOutput) {
  std::map<std::string, uint32_t> result;
  std::istringstream in(nmOutput);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == ' ') continue;  // undefined symbols have no address
    std::string addr = line.substr(0, line.find(' '));
    std::string name = line.substr(line.rfind(' ') + 1);
    result[name] = uint32_t(std::stoul(addr, nullptr, 16));
  }
  return result;
}

}  // namespace torvel::ld::test
