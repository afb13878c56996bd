#include "nothrow.h"

namespace std {

// One read-only byte of value 0.
const nothrow_t nothrow = nothrow_t();

}
