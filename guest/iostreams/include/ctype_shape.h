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

}

#endif
