// What the file buffer and std::__basic_file<char> share: the guest ABI's
// FILE pointer seen as the host's.
#ifndef TORVEL_HOST_FILE_STEPS_H
#define TORVEL_HOST_FILE_STEPS_H

#include "basic_file.h"
#include "c_stdio.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

inline FILE* host(__sFILE* f) { return reinterpret_cast<FILE*>(f); }

}

#endif
