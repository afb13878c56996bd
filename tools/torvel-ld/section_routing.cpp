#include "section_routing.h"

#include "diagnostics.h"
#include "macho.h"

namespace torvel::ld {

namespace {

constexpr uint32_t kCodeFlags = MachO::S_ATTR_PURE_INSTRUCTIONS | MachO::S_ATTR_SOME_INSTRUCTIONS;

SectionRoute copyTo(const std::string& seg, const std::string& sect, uint32_t flags) {
  return {SectionRoute::Action::Copy, seg, sect, flags};
}

}  // namespace

SectionRoute routeSection(const InputSection& in, const std::string& path) {
  const std::string& seg = in.segname;
  const std::string& sect = in.sectname;
  const uint32_t type = in.type();
  auto refuse = [&](const std::string& why) -> SectionRoute {
    fail(path + ": section " + in.displayName() + ": " + why);
  };

  if ((in.flags & MachO::S_ATTR_DEBUG) || seg == "__DWARF") return {};
  // Compact unwind entries describe functions for __unwind_info, which this
  // linker does not build; every function also has an __eh_frame FDE.
  if (seg == "__LD" && sect == "__compact_unwind") return {};

  switch (type) {
    case MachO::S_NON_LAZY_SYMBOL_POINTERS:
      return {SectionRoute::Action::NonLazyPointers, "__DATA", "__nl_symbol_ptr", MachO::S_NON_LAZY_SYMBOL_POINTERS};
    case MachO::S_LAZY_SYMBOL_POINTERS:
    case MachO::S_SYMBOL_STUBS:
    case MachO::S_LAZY_DYLIB_SYMBOL_POINTERS:
      return refuse("prebuilt stubs and lazy pointers (old compiler output) are not supported");
    case MachO::S_THREAD_LOCAL_REGULAR:
    case MachO::S_THREAD_LOCAL_ZEROFILL:
    case MachO::S_THREAD_LOCAL_VARIABLES:
    case MachO::S_THREAD_LOCAL_VARIABLE_POINTERS:
    case MachO::S_THREAD_LOCAL_INIT_FUNCTION_POINTERS:
      return refuse("thread-local variables are not supported");
    case MachO::S_GB_ZEROFILL:
    case MachO::S_INTERPOSING:
    case MachO::S_DTRACE_DOF:
      return refuse("section type " + std::to_string(type) + " is not supported");
    case MachO::S_MOD_INIT_FUNC_POINTERS:
      return copyTo("__DATA", "__mod_init_func", MachO::S_MOD_INIT_FUNC_POINTERS);
    case MachO::S_MOD_TERM_FUNC_POINTERS:
      return copyTo("__DATA", "__mod_term_func", MachO::S_MOD_TERM_FUNC_POINTERS);
    default:
      break;
  }
  if (type > MachO::LAST_KNOWN_SECTION_TYPE) return refuse("unknown section type " + std::to_string(type));

  if (seg == "__TEXT") {
    if (sect == "__text" || sect == "__StaticInit" || sect == "__textcoal_nt") return copyTo(seg, "__text", kCodeFlags);
    if (type == MachO::S_CSTRING_LITERALS) return copyTo(seg, "__cstring", MachO::S_CSTRING_LITERALS);
    if (type == MachO::S_4BYTE_LITERALS || type == MachO::S_8BYTE_LITERALS || type == MachO::S_16BYTE_LITERALS ||
        sect == "__const" || sect == "__const_coal")
      return copyTo(seg, "__const", 0);
    if (sect == "__eh_frame") return copyTo(seg, sect, 0);
    if (sect == "__gcc_except_tab") return copyTo(seg, sect, 0);
    if (type == MachO::S_ZEROFILL) return refuse("zero-fill sections belong in __DATA");
    uint32_t attrs = in.flags & kCodeFlags;
    return copyTo(seg, sect, attrs);
  }
  if (seg == "__DATA") {
    if (type == MachO::S_ZEROFILL) return copyTo(seg, sect, MachO::S_ZEROFILL);
    if (sect == "__datacoal_nt") return copyTo(seg, "__data", 0);
    if (sect == "__const_coal") return copyTo(seg, "__const", 0);
    if (type == MachO::S_CSTRING_LITERALS) return copyTo(seg, sect, MachO::S_CSTRING_LITERALS);
    return copyTo(seg, sect, 0);
  }
  return refuse("segment " + seg + " is not supported");
}

std::vector<std::vector<SectionRoute>> routeSections(const std::vector<ObjectFile>& objects) {
  std::vector<std::vector<SectionRoute>> routes(objects.size());
  for (size_t o = 0; o < objects.size(); ++o)
    for (const InputSection& in : objects[o].sections) routes[o].push_back(routeSection(in, objects[o].path));
  return routes;
}

int sectionRank(const std::string& seg, const std::string& sect, uint32_t flags) {
  if (seg == "__TEXT") {
    if (sect == "__text") return 0;
    if (sect == "__symbol_stub") return 1;
    if (sect == "__stub_helper") return 2;
    if (sect == "__const") return 3;
    if (sect == "__cstring") return 4;
    if (sect == "__gcc_except_tab") return 6;
    if (sect == "__eh_frame") return 7;
    return 5;
  }
  if ((flags & MachO::SECTION_TYPE) == MachO::S_ZEROFILL) return sect == "__common" ? 9 : 8;
  if (sect == "__nl_symbol_ptr") return 0;
  if (sect == "__la_symbol_ptr") return 1;
  if (sect == "__mod_init_func") return 2;
  if (sect == "__mod_term_func") return 3;
  if (sect == "__const") return 4;
  if (sect == "__data") return 5;
  return 6;
}

}  // namespace torvel::ld
