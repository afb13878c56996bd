// std::ostream::sentry, which brackets every output operation: it flushes
// the tied stream first and syncs a unit-buffered stream at the end. Weak
// exports (explicit instantiation of the member class).
//
// A unit of its own, so that the destructor can be inline here without
// being inlined into the output members: they reach it by name, as game
// code does. Inside this unit the complete-object destructor takes in the
// base-object one's body, so the two are identical instead of one calling
// the other through its name; the constructors stay as they are, the
// complete-object one jumping to the base-object one.
#include "ostream.h"

#include "buffer_steps.h"
#include "output_operation.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

// The flush of the stream tied to the sentry's own, out of line: few
// streams are tied (std::cin and std::cerr to std::cout), and the common
// untied case then costs the sentry a test and no registers.
template<typename _CharT, typename _Traits>
__attribute__((noinline)) void flush_tied_stream(std::basic_ostream<_CharT, _Traits>& tied) {
  sync_stream_buffer<_CharT, _Traits>(tied);
}

}

namespace std {

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>::sentry::sentry(basic_ostream& os) : ok(false), sentry_stream(&os) {
  __ios_type& ios = os;
  if (ios.tied_stream != 0 && ios.stream_state == 0) torvel_ios::flush_tied_stream(*ios.tied_stream);
  if (ios.stream_state != 0) ios.setstate(ios_base::failbit);
  else ok = true;
}

// The end step of every output operation; it runs while an exception from
// the buffer propagates too.
template<typename _CharT, typename _Traits>
inline basic_ostream<_CharT, _Traits>::sentry::~sentry() {
  torvel_ios::output_end_step<_CharT, _Traits>(*sentry_stream);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>::sentry::operator bool() const {
  return ok;
}

template class basic_ostream<char>::sentry;

}
