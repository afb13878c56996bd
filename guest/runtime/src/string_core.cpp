#include "string_core.h"

#include "c_library.h"
#include "host_functions.h"

namespace torvel_rt {

namespace {

const size_t page_size = 4096;

typedef __UINTPTR_TYPE__ address;

// malloc's own bookkeeping is assumed to take 16 bytes; with the 12-byte
// header that is what the page rule adds to the characters.
const size_t page_overhead = rep_header_size + 16;

// Grows c so that the allocation plus 16 bytes fills whole pages.
size_t apply_page_rule(size_t c, size_t e) {
  size_t bytes = (c + 1) * e + page_overhead;
  if (bytes > page_size) {
    size_t spare = page_size - bytes % page_size;
    c += e == 1 ? spare : spare / e;
    size_t limit = max_length(e);
    if (c > limit) c = limit;
  }
  return c;
}

// Lengths are at most max_length (below 2^30), so old + len2 cannot wrap
// once len2 itself is known to be within the maximum.
void check_result_length(size_t old_length, size_t len1, size_t len2, size_t e) {
  size_t limit = max_length(e);
  if (len2 > limit || old_length - len1 > limit - len2) report_length_error();
}

}

TORVEL_NOTHROW void report_out_of_range(const char* detail) {
  torvel_guest_fatal("std::out_of_range", detail);
}

TORVEL_NOTHROW void report_length_error() {
  torvel_guest_fatal("std::length_error", "basic_string::_S_create");
}

// An exhausted heap ends the guest as the legacy library's allocation
// failure would, rather than writing through a null block.
TORVEL_NOTHROW static void* allocate(size_t bytes) {
  void* block = malloc(bytes);
  if (block == nullptr) torvel_guest_fatal("std::bad_alloc", "");
  return block;
}

// The allocation behind create, inline in the routines of this file.
inline rep_header* new_rep(size_t capacity, size_t old_capacity, size_t e) {
  if (capacity > max_length(e)) report_length_error();
  if (capacity > old_capacity) {
    if (capacity < 2 * old_capacity) capacity = 2 * old_capacity;
    capacity = apply_page_rule(capacity, e);
  }
  rep_header* rep = static_cast<rep_header*>(allocate((capacity + 1) * e + rep_header_size));
  rep->length = 0;
  rep->capacity = capacity;
  rep->ref_count = 0;
  return rep;
}

TORVEL_NOTHROW rep_header* create(size_t capacity, size_t old_capacity, size_t e) {
  return new_rep(capacity, old_capacity, e);
}

TORVEL_NOTHROW byte* fresh_copy(const void* src, size_t n, const element_kind& kind) {
  rep_header* rep = new_rep(n, 0, kind.size);
  memcpy(chars_of(rep), src, n * kind.size);
  set_length_and_sharable(rep, n, kind);
  return chars_of(rep);
}

TORVEL_NOTHROW byte* clone(const rep_header* rep, const element_kind& kind) {
  rep_header* copy = new_rep(rep->length, 0, kind.size);
  memcpy(chars_of(copy), chars_of(const_cast<rep_header*>(rep)), rep->length * kind.size);
  set_length_and_sharable(copy, rep->length, kind);
  return chars_of(copy);
}

TORVEL_NOTHROW void mutate(byte** str, size_t pos, size_t len1, size_t len2, const element_kind& kind) {
  const size_t e = kind.size;
  rep_header* rep = header_of(*str);
  const size_t old_length = rep->length;
  check_result_length(old_length, len1, len2, e);
  const size_t new_length = old_length + len2 - len1;
  const size_t tail = old_length - pos - len1;

  if (new_length > rep->capacity || rep->ref_count > 0) {
    rep_header* fresh = new_rep(new_length, rep->capacity, e);
    if (pos != 0) memcpy(chars_of(fresh), *str, pos * e);
    if (tail != 0) memcpy(chars_of(fresh) + (pos + len2) * e, *str + (pos + len1) * e, tail * e);
    dispose(rep, kind);
    rep = fresh;
    *str = chars_of(fresh);
  } else if (tail != 0 && len1 != len2) {
    memmove(*str + (pos + len2) * e, *str + (pos + len1) * e, tail * e);
  }
  set_length_and_sharable(rep, new_length, kind);
}

TORVEL_NOTHROW void replace(byte** str, size_t pos, size_t len1, const void* src, size_t len2, const element_kind& kind) {
  const size_t e = kind.size;
  rep_header* rep = header_of(*str);
  if (pos > rep->length) report_out_of_range("basic_string::replace");
  if (len1 > rep->length - pos) len1 = rep->length - pos;
  // Checked before the copy below sizes a block from len2.
  check_result_length(rep->length, len1, len2, e);

  // A short source outside this string's representation is untouched by
  // the change (which moves characters only within that block and frees no
  // other), so it is copied straight to its place instead of through the
  // stack. Longer sources keep their staging block in any case.
  const size_t bytes = len2 * e;
  byte on_stack[512];
  const address first = reinterpret_cast<address>(src);
  const address block = reinterpret_cast<address>(rep);
  const address block_end = reinterpret_cast<address>(chars_of(rep) + (rep->capacity + 1) * e);
  if (bytes <= sizeof on_stack && (first + bytes <= block || first >= block_end)) {
    mutate(str, pos, len1, len2, kind);
    memcpy(*str + pos * e, src, bytes);
    return;
  }

  // The source may lie inside this string: keep it aside before the change.
  byte* saved = on_stack;
  if (bytes > sizeof on_stack) saved = static_cast<byte*>(allocate(bytes));
  memcpy(saved, src, bytes);

  mutate(str, pos, len1, len2, kind);
  memcpy(*str + pos * e, saved, bytes);
  if (saved != on_stack) free(saved);
}

TORVEL_NOTHROW void leak(byte** str, const element_kind& kind) {
  rep_header* rep = header_of(*str);
  if (rep == kind.empty) return;
  if (rep->ref_count > 0) {
    mutate(str, 0, 0, 0, kind);
    rep = header_of(*str);
  }
  rep->ref_count = -1;
}

TORVEL_NOTHROW void reserve(byte** str, size_t n, const element_kind& kind) {
  const size_t e = kind.size;
  rep_header* rep = header_of(*str);
  if (n == rep->capacity && rep->ref_count <= 0) return;
  size_t request = n < rep->length ? rep->length : n;
  if (request > max_length(e)) report_length_error();
  rep_header* fresh = new_rep(request, rep->capacity, e);
  memcpy(chars_of(fresh), *str, rep->length * e);
  set_length_and_sharable(fresh, rep->length, kind);
  dispose(rep, kind);
  *str = chars_of(fresh);
}

}
