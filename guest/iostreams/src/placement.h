// Building an object in storage the library already has (no heap).
#ifndef TORVEL_PLACEMENT_H
#define TORVEL_PLACEMENT_H

#include "host_types.h"

inline void* operator new(size_t, void* where) throw() { return where; }

#endif
