// The placeholder facet objects every stream points at. Both are internal
// to the library (not exported).
#ifndef TORVEL_FACETS_H
#define TORVEL_FACETS_H

#include "ctype_shape.h"

// Storage of the one character-classification facet; the initialiser
// builds the object in it before any stream exists.
extern unsigned char the_ctype[sizeof(std::ctype_char_shape)];
// 16 zero bytes: the number-formatting facet (first 8) and the number-parsing
// facet (last 8). Never read or written.
extern unsigned char the_num_facet[16];

namespace torvel_ios __attribute__((visibility("hidden"))) {

// Fills the_ctype in; run once by the library's initialiser.
void build_the_ctype();

inline const std::ctype_char_shape* ctype_facet() {
  return reinterpret_cast<const std::ctype_char_shape*>(the_ctype);
}

}

#endif
