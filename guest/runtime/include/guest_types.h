// size_t and ptrdiff_t for guest code built without system headers: the
// target's own, so that sizes mangle as the target's C++ library expects
// (unsigned long on Darwin i386, unsigned int on Linux i386).
#ifndef TORVEL_GUEST_TYPES_H
#define TORVEL_GUEST_TYPES_H

typedef __SIZE_TYPE__ size_t;
typedef __PTRDIFF_TYPE__ ptrdiff_t;

namespace std {
using ::size_t;
using ::ptrdiff_t;
}

#endif
