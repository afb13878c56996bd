// The routines behind both shared strings (std::string and std::wstring).
//
// Each works on a string given as the address of its character pointer and
// on elements of a given size (1 or 4 bytes), so the narrow and the wide
// string share one implementation of the capacity rules, copy-on-write and
// the sharing count. None of these names is exported.
#ifndef TORVEL_STRING_CORE_H
#define TORVEL_STRING_CORE_H

#include "c_library.h"
#include "guest_types.h"
#include "torvel_export.h"

namespace torvel_rt TORVEL_INTERNAL {

typedef unsigned char byte;

// The 12 bytes in front of a string's characters.
struct rep_header {
  size_t length;
  size_t capacity;
  int ref_count;
};

// What distinguishes the two strings: the element size and the address of
// the empty representation the string's members compare with.
struct element_kind {
  size_t size;
  rep_header* empty;
};

// The same words as the public std::basic_string::_Rep, which the string's
// members cast to this header (shared_string_members.h checks both agree).
static_assert(sizeof(rep_header) == 12, "the header is three words");
static_assert(__builtin_offsetof(rep_header, length) == 0, "length is the header's first word");
static_assert(__builtin_offsetof(rep_header, capacity) == 4, "capacity is the header's second word");
static_assert(__builtin_offsetof(rep_header, ref_count) == 8, "ref_count is the header's third word");

const size_t rep_header_size = sizeof(rep_header);

inline rep_header* header_of(const void* chars) {
  return reinterpret_cast<rep_header*>(const_cast<byte*>(static_cast<const byte*>(chars)) - rep_header_size);
}

inline byte* chars_of(rep_header* rep) {
  return reinterpret_cast<byte*>(rep) + rep_header_size;
}

// ((2^32 - 13) / e - 1) / 4: 1,073,741,820 characters, 268,435,454 wide ones.
// Both element sizes get their constant without a division at run time.
inline size_t max_length(size_t element_size) {
  const size_t room = ~size_t(0) - 12;
  if (element_size == 1) return (room - 1) / 4;
  if (element_size == 4) return (room / 4 - 1) / 4;
  return (room / element_size - 1) / 4;
}

// The reports that stand where the legacy library throws.
__attribute__((noreturn)) void report_out_of_range(const char* detail) TORVEL_NOTHROW;
__attribute__((noreturn)) void report_length_error() TORVEL_NOTHROW;

// Allocates a representation: growth rule against old_capacity, then the
// page rule; ref_count and length 0, characters not written.
rep_header* create(size_t capacity, size_t old_capacity, size_t element_size) TORVEL_NOTHROW;

// Length n, terminator and ref_count 0, unless rep is the empty representation.
inline void set_length_and_sharable(rep_header* rep, size_t n, const element_kind& kind) {
  if (rep == kind.empty) return;
  rep->ref_count = 0;
  rep->length = n;
  byte* terminator = chars_of(rep) + n * kind.size;
  if (kind.size == 1) *terminator = 0;
  else memset(terminator, 0, kind.size);
}

// A fresh representation holding the n elements at src (n > 0).
byte* fresh_copy(const void* src, size_t n, const element_kind& kind) TORVEL_NOTHROW;

// The sharing count is changed only by locked read-modify-writes.
inline int locked_add(int* word, int value) {
  return __atomic_fetch_add(word, value, __ATOMIC_SEQ_CST);
}

// Drops one owner; frees the representation when it was the last. Inline:
// every destructor and assignment ends with it.
inline void dispose(rep_header* rep, const element_kind& kind) {
  if (rep == kind.empty) return;
  if (locked_add(&rep->ref_count, -1) <= 0) free(rep);
}

// A private copy of a leaked representation: capacity = length (page rule
// aside).
byte* clone(const rep_header* rep, const element_kind& kind) TORVEL_NOTHROW;

// Shares rep (ref_count >= 0) or returns a private clone of a leaked one.
// Inline: every copy starts with it.
inline byte* grab(rep_header* rep, const element_kind& kind) {
  if (rep->ref_count < 0) return clone(rep, kind);
  if (rep != kind.empty) locked_add(&rep->ref_count, 1);
  return chars_of(rep);
}

// Makes room for len2 elements at pos in place of len1 there (len1 already
// clamped), unsharing or reallocating as needed. The caller writes the new
// elements.
void mutate(byte** str, size_t pos, size_t len1, size_t len2, const element_kind& kind) TORVEL_NOTHROW;

// Replaces len1 elements at pos with len2 elements copied from src, which may
// lie inside the string itself.
void replace(byte** str, size_t pos, size_t len1, const void* src, size_t len2, const element_kind& kind) TORVEL_NOTHROW;

// Marks the representation as handed out (never shared again).
void leak(byte** str, const element_kind& kind) TORVEL_NOTHROW;

// Reallocates to hold at least n elements (or trims to the length).
void reserve(byte** str, size_t n, const element_kind& kind) TORVEL_NOTHROW;

}

#endif
