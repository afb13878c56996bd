// Small helpers for the string-stream tests: guest strings from C texts, and
// a look at a string's representation header.
#ifndef TORVEL_TEST_STRING_TEXT_H
#define TORVEL_TEST_STRING_TEXT_H

#include "c_functions.h"
#include "shared_string.h"

inline std::string text(const char* s, size_t n) { return std::string(s, n, std::allocator<char>()); }
inline std::string text(const char* s) { return text(s, strlen(s)); }

// The representation's header words, in front of the characters.
inline const char* chars_of(const std::string& s) { return *reinterpret_cast<const char* const*>(&s); }
inline size_t length_of(const std::string& s) { return reinterpret_cast<const size_t*>(chars_of(s))[-3]; }
inline size_t capacity_of(const std::string& s) { return reinterpret_cast<const size_t*>(chars_of(s))[-2]; }
inline int ref_count_of(const std::string& s) { return reinterpret_cast<const int*>(chars_of(s))[-1]; }

// Whether s holds exactly the n characters at want.
inline bool holds(const std::string& s, const char* want, size_t n) {
  return length_of(s) == n && memcmp(chars_of(s), want, n) == 0;
}
inline bool holds(const std::string& s, const char* want) { return holds(s, want, strlen(want)); }

#endif
