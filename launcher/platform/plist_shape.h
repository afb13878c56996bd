#pragma once
// A look at a property list's shape before libplist parses it. libplist
// builds the whole tree recursively, and a binary property list may refer to
// one object from many places, each reference becoming a copy: a couple of
// hundred bytes can ask for a tree of billions of nodes, and a few hundred
// kilobytes for a nesting deep enough to exhaust the stack. Real Info.plists
// are a few levels deep and a few hundred nodes big, far within these bounds.

#include <cstddef>
#include <string>

namespace vornik {

// Deepest nesting of a binary property list that is accepted.
inline constexpr std::size_t deepestBinaryPlist = 512;
// Most nodes a binary property list may expand to once shared objects are copied.
inline constexpr std::size_t mostBinaryPlistNodes = 100000;
// Most arrays and dictionaries an XML property list may open (which bounds its depth).
inline constexpr std::size_t mostXmlPlistContainers = 10000;

// False when the data is a binary property list that is malformed, cyclic,
// deeper or bigger once expanded than the bounds above, or XML text that
// opens more containers than allowed. Anything else is left to the parser.
bool isModestPropertyList(const std::string& data);

}  // namespace vornik
