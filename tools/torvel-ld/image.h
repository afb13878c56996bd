// The state of one link, filled in phase by phase: the input objects, the
// resolved global symbols, the output sections with their contents, and the
// dyld records (rebases, binds, weak binds) the relocation phase produces.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "object_file.h"
#include "section_routing.h"

namespace torvel::ld {

struct Image;

struct LinkOptions {
  std::string output;
  std::string installName;
  uint32_t minVersion = 0;         // packed X.Y.Z (10.6 = 0x000A0600)
  uint32_t currentVersion = 0x10000;
  uint32_t compatibilityVersion = 0x10000;
  std::vector<std::string> inputs;
  std::vector<std::string> allowedImports;
  bool allUndefinedAreImports = false;
};

// One global name after resolution across all objects.
struct GlobalSymbol {
  enum class Kind { Defined, Common, Import, DsoHandle };
  std::string name;
  Kind kind = Kind::Import;
  int object = -1;      // defining object (Defined)
  uint32_t symbol = 0;  // index of the definition in that object's symbol table
  bool weak = false;    // weak definition
  bool hidden = false;  // private extern: visible in the link, never exported
  bool absolute = false;
  bool weakImport = true;  // import: every reference was a weak reference
  uint32_t commonSize = 0;
  uint32_t commonAlign = 0;  // log2
  uint32_t commonOffset = 0; // offset inside the common area
  int outputIndex = -1;      // index in the output symbol table

  bool exported() const { return (kind == Kind::Defined || kind == Kind::Common) && !hidden; }
  // References to exported weak definitions go through the name, so that one
  // definition chosen across all loaded images serves them all.
  bool boundByName() const { return kind == Kind::Defined && weak && !hidden; }
};

struct OutputSection {
  std::string segname;
  std::string sectname;
  uint32_t flags = 0;
  uint32_t align = 0;  // log2
  uint32_t addr = 0;
  uint32_t size = 0;
  uint32_t fileOffset = 0;
  uint32_t reserved1 = 0;
  uint32_t reserved2 = 0;
  int ordinal = 0;  // 1-based, across all segments
  std::vector<uint8_t> data;

  bool zerofill() const;
  bool code() const;
};

// Where an input section landed.
struct Placement {
  int output = -1;  // -1: dropped (debug information, compact unwind)
  uint32_t offset = 0;
};

struct RebaseRecord {
  uint32_t address;
  uint8_t type;  // REBASE_TYPE_POINTER or REBASE_TYPE_TEXT_ABSOLUTE32
};

struct BindRecord {
  uint32_t address;
  uint8_t type;  // BIND_TYPE_POINTER
  int global;    // index into Image::globals
  int32_t addend;
};

// What an entry of the indirect symbol table names.
struct IndirectRef {
  enum class Kind { Global, Local, Absolute };
  Kind kind = Kind::Local;
  int global = -1;
};

struct Stub {
  int global;
  uint32_t lazyBindOffset = 0;  // imports only
};

class ByteWriter;
struct Linkedit;

// One load command of the dylib: its size, fixed when layout plans the
// commands, and the function that appends exactly that many bytes once the
// linkedit contents exist (load_commands.cpp makes both from one description).
struct LoadCommand {
  uint32_t cmd = 0;
  uint32_t size = 0;
  std::function<void(ByteWriter&, const Image&, const Linkedit&)> write;
};

struct Segment {
  std::string name;
  uint32_t vmaddr = 0, vmsize = 0, fileoff = 0, filesize = 0;
  uint32_t maxprot = 0, initprot = 0;
  std::vector<int> sections;  // indices into Image::sections
};

struct Image {
  LinkOptions options;
  std::vector<ObjectFile> objects;
  std::vector<GlobalSymbol> globals;
  std::map<std::string, int> globalIndex;
  // objectGlobals[o][s]: global index of external symbol s of object o, or -1.
  std::vector<std::vector<int>> objectGlobals;
  // replacedDefinitions[o]: object-space address -> global index, for each
  // weak definition of object o that lost to another copy of the same name.
  std::vector<std::map<uint32_t, int>> replacedDefinitions;

  std::vector<std::vector<SectionRoute>> routes;   // [object][section]
  std::vector<OutputSection> sections;
  std::vector<Segment> segments;
  std::vector<std::vector<Placement>> placements;  // [object][section]

  std::vector<Stub> stubs;  // one per name reached by a call through a stub
  std::map<int, int> stubOfGlobal;
  int binderGlobal = -1;    // dyld_stub_binder, when lazy binding is used
  bool lazyBinding = false; // some stub leads to an import
  std::vector<IndirectRef> nlSlots;  // every slot of __nl_symbol_ptr in order
  int commonSection = -1;
  uint32_t commonBase = 0;  // offset of the tentative definitions in that section

  std::vector<RebaseRecord> rebases;
  std::vector<BindRecord> binds;
  std::vector<BindRecord> weakBinds;
  std::vector<uint8_t> lazyBindInfo;

  std::vector<LoadCommand> loadCommands;  // in file order, after the mach_header

  int findSection(const std::string& seg, const std::string& sect) const;
};

}  // namespace torvel::ld
