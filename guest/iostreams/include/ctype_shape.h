// std::ctype_char_shape: the character-classification facet of the guest ABI
// in shape only. Game code widens and narrows through the tables below
// inline; nothing else of a facet exists. One instance, the_ctype, serves
// every stream.
#ifndef TORVEL_CTYPE_SHAPE_H
#define TORVEL_CTYPE_SHAPE_H

#include "torvel_export.h"

namespace std {

class TORVEL_EXPORT ctype_char_shape {
public:
  ctype_char_shape() {}
  // Both destructors are defined here, in the class: the class then has
  // no key function, so its type information comes out as a weak
  // definition wherever the library builds the object.
  virtual ~ctype_char_shape() {}

  int shape_ref_count;
  void* native_locale;
  bool owns_table;
  const int* upper_map;
  const int* lower_map;
  const unsigned short* class_table;
  char widen_ready;
  char widen_map[256];
  char narrow_map[256];
  char narrow_ready;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(ctype_char_shape) == 544, "ctype_char_shape");
static_assert(__builtin_offsetof(ctype_char_shape, shape_ref_count) == 4, "ctype_char_shape::shape_ref_count");
static_assert(__builtin_offsetof(ctype_char_shape, native_locale) == 8, "ctype_char_shape::native_locale");
static_assert(__builtin_offsetof(ctype_char_shape, owns_table) == 12, "ctype_char_shape::owns_table");
static_assert(__builtin_offsetof(ctype_char_shape, upper_map) == 16, "ctype_char_shape::upper_map");
static_assert(__builtin_offsetof(ctype_char_shape, lower_map) == 20, "ctype_char_shape::lower_map");
static_assert(__builtin_offsetof(ctype_char_shape, class_table) == 24, "ctype_char_shape::class_table");
static_assert(__builtin_offsetof(ctype_char_shape, widen_ready) == 28, "ctype_char_shape::widen_ready");
static_assert(__builtin_offsetof(ctype_char_shape, widen_map) == 29, "ctype_char_shape::widen_map");
static_assert(__builtin_offsetof(ctype_char_shape, narrow_map) == 285, "ctype_char_shape::narrow_map");
static_assert(__builtin_offsetof(ctype_char_shape, narrow_ready) == 541, "ctype_char_shape::narrow_ready");
#pragma GCC diagnostic pop

}

#endif
