// Reading a guest std::string's representation in place. The string object
// is one pointer to its characters, preceded by the header words length and
// capacity; libtorvelios builds and changes strings only through
// libtorvelrt's members, but reads these words directly, as inlined game
// code does.
#ifndef TORVEL_STRING_FIELDS_H
#define TORVEL_STRING_FIELDS_H

#include "host_types.h"
#include "shared_string.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

inline char* string_chars(const std::string& s) { return *reinterpret_cast<char* const*>(&s); }

inline const std::string::_Rep& string_header(const std::string& s) {
  return reinterpret_cast<const std::string::_Rep*>(string_chars(s))[-1];
}

inline size_t string_length(const std::string& s) { return string_header(s).length; }

inline size_t string_capacity(const std::string& s) { return string_header(s).capacity; }

}

#endif
