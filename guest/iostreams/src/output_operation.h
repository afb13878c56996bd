// One output operation: the output sentry's constructor, reached by name as
// game code reaches it, and the sentry's end step done in place instead of
// through a call of ~sentry(). The end step is the same small test the
// legacy headers inline into every inserter, so a game's own copy of
// ~sentry() cannot differ from it; doing it here saves a call by name on
// every character, string and block written.
#ifndef TORVEL_OUTPUT_OPERATION_H
#define TORVEL_OUTPUT_OPERATION_H

#include "buffer_steps.h"
#include "ostream.h"
#include "state_change.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

// The sync of a unit-buffered stream, out of line: almost no stream is
// unit-buffered, and keeping the call out of the common case leaves the
// end step a test without a stack frame of its own. noexcept as the end
// step is: an exception from the buffer's sync ends the program here.
template<typename _CharT, typename _Traits>
__attribute__((noinline)) void sync_unit_buffered(std::basic_ios<_CharT, _Traits>& ios) noexcept {
  if (ios.stream_buffer != 0 && ios.stream_buffer->sync() == end_of_file)
    change_state_checked(ios, ios.stream_state | std::ios_base::badbit);
}

// Syncs a unit-buffered stream that is still good; a failing sync sets
// badbit with the exception-mask check. Runs while an exception from the
// buffer propagates too.
template<typename _CharT, typename _Traits>
inline void output_end_step(std::basic_ios<_CharT, _Traits>& ios) {
  if ((ios.format_flags & std::ios_base::unitbuf) && ios.stream_state == 0) sync_unit_buffered(ios);
}

template<typename _CharT, typename _Traits>
class output_operation {
public:
  typedef typename std::basic_ostream<_CharT, _Traits>::sentry sentry_type;

  explicit output_operation(std::basic_ostream<_CharT, _Traits>& os) : guard(os) {}
  // The sentry lives in a union, so its own destructor is never called;
  // its end step happens here.
  ~output_operation() { output_end_step<_CharT, _Traits>(*guard.sentry_stream); }

  bool ok() const { return guard.ok; }

private:
  output_operation(const output_operation&);
  output_operation& operator=(const output_operation&);

  union {
    sentry_type guard;
  };
};

}

#endif
