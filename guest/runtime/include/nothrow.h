// std::nothrow, the tag selecting the non-throwing forms of operator new.
#ifndef TORVEL_NOTHROW_H
#define TORVEL_NOTHROW_H

#include "torvel_export.h"

namespace std {

struct nothrow_t {};

TORVEL_EXPORT extern const nothrow_t nothrow;

}

#endif
