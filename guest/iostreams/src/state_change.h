// The one step through which every stream operation changes a stream's
// state: store the new state, then end the guest when it meets the
// exception mask. The legacy library threw std::ios_base::failure here; this
// one reports through the host, which never returns.
#ifndef TORVEL_STATE_CHANGE_H
#define TORVEL_STATE_CHANGE_H

#include "ios_base.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

// The host's fatal report of a state that meets the exception mask. Kept
// out of line, so that the inline step reaches the host only through this
// one function and the operations it is inlined into need no import of
// their own for it.
__attribute__((noreturn)) void report_failure_state();

inline void change_state_checked(std::ios_base& s, int new_state) {
  s.stream_state = std::ios_base::iostate(new_state);
  if (new_state & s.exception_mask) report_failure_state();
}

}

#endif
