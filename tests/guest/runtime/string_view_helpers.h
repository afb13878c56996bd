// Looking at a guest string the way inlined guest code does: through its
// one pointer and the 12-byte header in front of the characters.
#ifndef TORVEL_TEST_STRING_VIEW_HELPERS_H
#define TORVEL_TEST_STRING_VIEW_HELPERS_H

#include <string.h>

#include "shared_string.h"

struct rep_words {
  size_t length;
  size_t capacity;
  int ref_count;
};

template<typename S>
inline const typename S::value_type* chars_pointer(const S& s) {
  return *reinterpret_cast<const typename S::value_type* const*>(&s);
}

template<typename S>
inline rep_words* rep_of(const S& s) {
  return reinterpret_cast<rep_words*>(
      const_cast<char*>(reinterpret_cast<const char*>(chars_pointer(s))) - sizeof(rep_words));
}

template<typename S>
inline bool is_empty_rep(const S& s) {
  return reinterpret_cast<void*>(rep_of(s)) == static_cast<void*>(S::_Rep::_S_empty_rep_storage);
}

// True when the 16 bytes of an empty representation are all still zero.
template<typename S>
inline bool empty_rep_untouched() {
  static const unsigned char zero[16] = {};
  return memcmp(S::_Rep::_S_empty_rep_storage, zero, sizeof zero) == 0;
}

// The characters of a narrow string as a C string (the terminator is there).
inline const char* text_of(const std::string& s) { return chars_pointer(s); }

// A state snapshot, to tell whether a failing member changed anything.
struct string_snapshot {
  const char* chars;
  rep_words rep;
  char text[64];

  explicit string_snapshot(const std::string& s) : chars(chars_pointer(s)), rep(*rep_of(s)) {
    strncpy(text, chars, sizeof text - 1);
    text[sizeof text - 1] = '\0';
  }
  bool same_as(const std::string& s) const {
    return chars == chars_pointer(s) && rep.length == rep_of(s)->length &&
           rep.capacity == rep_of(s)->capacity && rep.ref_count == rep_of(s)->ref_count &&
           strcmp(text, chars_pointer(s)) == 0;
  }
};

const size_t page = 4096;

#endif
