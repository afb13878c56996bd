#include "relocation_kinds.h"

#include "macho.h"

namespace torvel::ld {

namespace {

using Action = RelocationKind::Action;

constexpr RelocationKind kKinds[] = {
    {.type = MachO::GENERIC_RELOC_VANILLA,
     .name = "GENERIC_RELOC_VANILLA",
     .what = "address",
     .action = Action::Address,
     .mayBePcRelative = true,
     .addressNamesDefinition = true,
     .callsThroughStub = true},
    {.type = MachO::GENERIC_RELOC_PAIR,
     .name = "GENERIC_RELOC_PAIR",
     .what = "PAIR entry",
     .action = Action::Refuse,
     // A PAIR the applying loop meets on its own: a section difference takes
     // its PAIR along.
     .refusal = "PAIR entry without a preceding section difference"},
    {.type = MachO::GENERIC_RELOC_SECTDIFF,
     .name = "GENERIC_RELOC_SECTDIFF",
     .what = "section difference",
     .action = Action::SectionDifference,
     .scatteredOnly = true,
     .needsPair = true,
     .addressNamesDefinition = true},
    {.type = MachO::GENERIC_RELOC_PB_LA_PTR,
     .name = "GENERIC_RELOC_PB_LA_PTR",
     .what = "prebound lazy pointer",
     .action = Action::Refuse,
     .refusal = "prebound lazy pointer relocations (GENERIC_RELOC_PB_LA_PTR) are not supported"},
    {.type = MachO::GENERIC_RELOC_LOCAL_SECTDIFF,
     .name = "GENERIC_RELOC_LOCAL_SECTDIFF",
     .what = "section difference",
     .action = Action::SectionDifference,
     .scatteredOnly = true,
     .needsPair = true},
    {.type = MachO::GENERIC_RELOC_TLV,
     .name = "GENERIC_RELOC_TLV",
     .what = "thread-local variable reference",
     .action = Action::Refuse,
     .refusal = "thread-local variable relocations (GENERIC_RELOC_TLV) are not supported"},
};

}  // namespace

std::span<const RelocationKind> relocationKinds() { return kKinds; }

const RelocationKind* relocationKind(uint8_t type) {
  for (const RelocationKind& kind : kKinds)
    if (kind.type == type) return &kind;
  return nullptr;
}

bool callsThroughStub(const Relocation& r) {
  const RelocationKind* kind = relocationKind(r.type);
  return kind && kind->action != RelocationKind::Action::Refuse && kind->callsThroughStub && !r.scattered &&
         r.external && r.pcrel;
}

}  // namespace torvel::ld
