// The contents of one i386 MH_OBJECT file as the linker needs them: its
// sections with their bytes and decoded relocations, its symbols and its
// indirect symbol table. Addresses are in the object's own address space.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace torvel::ld {

struct Relocation {
  uint32_t address = 0;  // offset of the fixed-up field from the start of its section
  bool scattered = false;
  bool pcrel = false;
  uint8_t length = 0;  // log2 of the field width
  bool external = false;
  uint8_t type = 0;
  uint32_t symbolnum = 0;  // symbol index (external) or 1-based section number
  uint32_t value = 0;      // scattered only: an object-space address
  uint32_t width() const { return 1u << length; }
};

struct InputSection {
  std::string segname;
  std::string sectname;
  uint32_t addr = 0;
  uint32_t size = 0;
  uint32_t align = 0;  // log2
  uint32_t flags = 0;
  uint32_t reserved1 = 0;
  uint32_t reserved2 = 0;
  std::vector<uint8_t> data;  // empty for zero-fill sections
  std::vector<Relocation> relocs;

  uint32_t type() const;
  bool zerofill() const;
  bool contains(uint32_t a) const { return a >= addr && a - addr < size; }
  std::string displayName() const { return segname + "," + sectname; }
};

struct InputSymbol {
  std::string name;
  uint8_t type = 0;
  uint8_t sect = 0;  // 1-based section number for N_SECT symbols
  uint16_t desc = 0;
  uint32_t value = 0;

  bool external() const;
  bool privateExtern() const;
  bool undefined() const;  // N_UNDF with value 0
  bool common() const;     // N_UNDF|N_EXT with a size in n_value
  bool inSection() const;
  bool absolute() const;
  bool weakDefinition() const;
  bool weakReference() const;
  bool debug() const;  // stab entries
};

struct ObjectFile {
  std::string path;
  std::vector<InputSection> sections;
  std::vector<InputSymbol> symbols;
  std::vector<uint32_t> indirectSymbols;
};

// Parses and checks an object file; throws LinkError naming `path` when the
// bytes are not a well-formed i386 MH_OBJECT.
ObjectFile parseObject(const std::string& path, std::span<const uint8_t> bytes);

ObjectFile loadObject(const std::string& path);

std::vector<uint8_t> readWholeFile(const std::string& path);

}  // namespace torvel::ld
