// Decides where each kind of input section goes in the dylib: merged into an
// output section by kind, turned into non-lazy pointer slots, dropped (debug
// information, compact unwind), or refused when the linker cannot handle it.
#pragma once

#include <string>
#include <vector>

#include "object_file.h"

namespace torvel::ld {

struct SectionRoute {
  enum class Action { Drop, Copy, NonLazyPointers };
  Action action = Action::Drop;
  std::string segname;
  std::string sectname;
  uint32_t flags = 0;  // flags of the output section
};

// Throws LinkError (naming `path`) for sections the linker does not support.
SectionRoute routeSection(const InputSection& section, const std::string& path);

// The route of every section of every object, in object and section order:
// [object][section].
std::vector<std::vector<SectionRoute>> routeSections(const std::vector<ObjectFile>& objects);

// Place of an output section within its segment: lower ranks come first.
int sectionRank(const std::string& segname, const std::string& sectname, uint32_t flags);

}  // namespace torvel::ld
