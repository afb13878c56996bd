// What the file buffer and std::__basic_file<char> share: the guest ABI's
// FILE pointer seen as the host's, and the host origin of a seek direction.
#ifndef TORVEL_HOST_FILE_STEPS_H
#define TORVEL_HOST_FILE_STEPS_H

#include "basic_file.h"
#include "c_stdio.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

inline FILE* host(__sFILE* f) { return reinterpret_cast<FILE*>(f); }

// beg and cur map to themselves; every other value counts from the end.
inline int host_origin(std::_Ios_Seekdir dir) {
  if (dir == std::_S_beg) return 0;
  if (dir == std::_S_cur) return 1;
  return 2;
}

}

#endif
