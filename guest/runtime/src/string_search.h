// The search and comparison scans of both shared strings, as templates over
// the element type. Plain scans, as the legacy library does them: no
// preprocessing of the pattern, no allocation.
#ifndef TORVEL_STRING_SEARCH_H
#define TORVEL_STRING_SEARCH_H

#include "c_library.h"
#include "guest_types.h"
#include "torvel_export.h"

namespace torvel_rt TORVEL_INTERNAL {

const size_t no_position = ~size_t(0);

template<typename C>
inline bool same_elements(const C* a, const C* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

template<>
inline bool same_elements<char>(const char* a, const char* b, size_t n) {
  return memcmp(a, b, n) == 0;
}

template<typename C>
inline bool contains(const C* set, size_t n, C c) {
  for (size_t i = 0; i < n; ++i)
    if (set[i] == c) return true;
  return false;
}

template<typename C>
inline size_t element_count(const C* s) {
  size_t n = 0;
  while (s[n] != C()) ++n;
  return n;
}

template<>
inline size_t element_count<char>(const char* s) {
  return strlen(s);
}

template<typename C>
size_t find_sequence(const C* data, size_t length, const C* s, size_t pos, size_t n) {
  if (n == 0) return pos <= length ? pos : no_position;
  if (n > length || pos > length - n) return no_position;
  const size_t last = length - n;
  for (size_t p = pos; p <= last; ++p)
    if (data[p] == s[0] && same_elements(data + p, s, n)) return p;
  return no_position;
}

template<typename C>
size_t find_element(const C* data, size_t length, C c, size_t pos) {
  for (size_t p = pos; p < length; ++p)
    if (data[p] == c) return p;
  return no_position;
}

template<typename C>
size_t rfind_sequence(const C* data, size_t length, const C* s, size_t pos, size_t n) {
  if (n > length) return no_position;
  size_t p = length - n;
  if (pos < p) p = pos;
  for (;;) {
    if (same_elements(data + p, s, n)) return p;
    if (p == 0) return no_position;
    --p;
  }
}

template<typename C>
size_t rfind_element(const C* data, size_t length, C c, size_t pos) {
  if (length == 0) return no_position;
  size_t p = length - 1;
  if (pos < p) p = pos;
  for (;;) {
    if (data[p] == c) return p;
    if (p == 0) return no_position;
    --p;
  }
}

template<typename C>
size_t find_first_in(const C* data, size_t length, const C* set, size_t pos, size_t n, bool wanted) {
  for (size_t p = pos; p < length; ++p)
    if (contains(set, n, data[p]) == wanted) return p;
  return no_position;
}

template<typename C>
size_t find_last_in(const C* data, size_t length, const C* set, size_t pos, size_t n, bool wanted) {
  if (length == 0) return no_position;
  size_t p = length - 1;
  if (pos < p) p = pos;
  for (;;) {
    if (contains(set, n, data[p]) == wanted) return p;
    if (p == 0) return no_position;
    --p;
  }
}

// The narrow order: memcmp's own result, else the length difference.
inline int compare_elements(const char* a, size_t m1, const char* b, size_t m2) {
  int r = memcmp(a, b, m1 < m2 ? m1 : m2);
  return r != 0 ? r : static_cast<int>(m1 - m2);
}

// The wide order: elements as unsigned 32-bit values, -1 or 1 at the first
// difference, else the length difference.
inline int compare_elements(const wchar_t* a, size_t m1, const wchar_t* b, size_t m2) {
  size_t n = m1 < m2 ? m1 : m2;
  for (size_t i = 0; i < n; ++i) {
    unsigned int x = static_cast<unsigned int>(a[i]);
    unsigned int y = static_cast<unsigned int>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return static_cast<int>(m1 - m2);
}

}

#endif
