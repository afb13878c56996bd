#pragma once
// Property-list data (XML or binary) parsed into a libplist tree.
//
// Builds against libplist 2.2 and 2.3 onward alike. 2.3 gave
// plist_from_memory a fourth parameter (the format it found), so it is not
// used: the format is told by the binary form's "bplist00" magic, which the
// shape check looks at anyway, and the data goes to plist_from_bin or
// plist_from_xml, which take the same three parameters in both (their
// result, nothing in 2.2 and an error code from 2.3, is not needed: a failed
// parse leaves the tree empty). The other calls the launcher makes have the
// same parameters in both: plist_get_node_type, plist_dict_get_item,
// plist_dict_set_item, plist_get_string_ptr, plist_get_bool_val,
// plist_get_uint_val, plist_get_real_val, plist_new_dict, plist_new_string,
// plist_new_bool, plist_to_xml (whose result is unused for the same reason),
// plist_to_xml_free and plist_free; PLIST_UINT names integers in both, 2.3
// adding PLIST_INT as its other name.

#include <plist/plist.h>

#include <cstddef>
#include <memory>
#include <string>

namespace vornik {

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistTree = std::unique_ptr<void, PlistFree>;

// The tree, or nothing when the data is empty, larger than `limit`, beyond
// the shape bounds of plist_shape.h, or no property list.
PlistTree parsePropertyList(const std::string& data, std::size_t limit);

// The XML form of a tree ("" when libplist cannot write it).
std::string xmlPropertyList(plist_t tree);

}  // namespace vornik
