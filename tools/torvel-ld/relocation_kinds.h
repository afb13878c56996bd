// The i386 relocation kinds (GENERIC_RELOC_*) an object may carry, and what
// the linker does with each: this table is the one place that says which
// kinds are applied, which may be pc-relative, which need a PAIR entry, which
// reach their target through a stub, and why the others are refused.
// relocation.cpp applies relocations by it, symbol resolution chooses stubs
// by it, and README.md points here instead of repeating it.
#pragma once

#include <cstdint>
#include <span>

#include "object_file.h"

namespace torvel::ld {

struct RelocationKind {
  enum class Action {
    Refuse,             // the link fails with `refusal`
    Address,            // the field holds an address (absolute or pc-relative)
    SectionDifference,  // the field holds the distance between two addresses
  };
  uint8_t type = 0;          // MachO::GENERIC_RELOC_*
  const char* name = "";     // "GENERIC_RELOC_VANILLA"
  const char* what = "";     // what the entry describes, in messages
  Action action = Action::Refuse;
  const char* refusal = nullptr;  // Refuse only: the message
  bool scatteredOnly = false;     // only the scattered form can carry it
  bool needsPair = false;         // the next entry, a scattered PAIR, gives the second address
  bool mayBePcRelative = false;
  // A scattered entry's address names the definition there: when that was a
  // weak copy discarded for another, the reference moves to the kept copy.
  // Otherwise it means whatever lies at that address.
  bool addressNamesDefinition = false;
  // A non-scattered, external, pc-relative entry (a call) to an import or to
  // an exported weak definition goes through the name's stub.
  bool callsThroughStub = false;
};

// Every kind the linker knows, in type order.
std::span<const RelocationKind> relocationKinds();

// The row of `type`, or null for a type no row describes.
const RelocationKind* relocationKind(uint8_t type);

// Whether `r` reaches its target through a stub when that target is an
// import or an exported weak definition.
bool callsThroughStub(const Relocation& r);

}  // namespace torvel::ld
