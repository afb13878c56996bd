// The two atomic functions of the __gnu_cxx namespace that inlined reference
// counting calls by name.
#ifndef TORVEL_ATOMICITY_H
#define TORVEL_ATOMICITY_H

#include "torvel_export.h"

namespace __gnu_cxx {

// Adds value to *word in one locked read-modify-write; returns the old value.
TORVEL_EXPORT int __exchange_and_add(int volatile* word, int value) throw();

// Adds value to *word in one locked read-modify-write.
TORVEL_EXPORT void __atomic_add(int volatile* word, int value) throw();

}

#endif
