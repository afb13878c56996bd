// std::ostream: construction, the output sentry, unformatted output,
// flushing and positioning. Weak exports (explicit instantiation; the numeric
// inserters are instantiated in ostream_numeric.cpp).
#include "ostream.h"

#include "buffer_steps.h"
#include "output_operation.h"
#include "state_change.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

// The output sentry's flush of the stream tied to its own, out of line:
// few streams are tied (std::cin and std::cerr to std::cout), and the
// common untied case then costs the sentry a test and no registers.
template<typename _CharT, typename _Traits>
__attribute__((noinline)) void flush_tied_stream(std::basic_ostream<_CharT, _Traits>& tied_stream) {
  std::basic_ios<_CharT, _Traits>& tied = tied_stream;
  if (tied.stream_buffer != 0 && tied.stream_buffer->sync() == end_of_file) tied.setstate(std::ios_base::badbit);
}

}

namespace std {

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>::basic_ostream(__streambuf_type* sb) {
  this->init(sb);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>::basic_ostream() {
  this->init(0);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>::~basic_ostream() {}

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
basic_ostream<_CharT, _Traits>::sentry::~sentry() {
  torvel_ios::output_end_step<_CharT, _Traits>(*sentry_stream);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>::sentry::operator bool() const {
  return ok;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(basic_ostream& (*f)(basic_ostream&)) {
  return f(*this);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(__ios_type& (*f)(__ios_type&)) {
  f(*this);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(ios_base& (*f)(ios_base&)) {
  f(*this);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(__streambuf_type* in) {
  sentry guard(*this);
  if (guard.ok) {
    __ios_type& ios = *this;
    if (in == 0) {
      ios.setstate(ios_base::badbit);
    } else {
      streamsize moved = 0;
      for (;;) {
        int c = torvel_ios::peek_char(in);
        if (c == torvel_ios::end_of_file) break;
        if (torvel_ios::put_char(ios.stream_buffer, static_cast<char>(c)) == torvel_ios::end_of_file) break;
        torvel_ios::skip_char(in);
        ++moved;
      }
      if (moved == 0) ios.setstate(ios_base::failbit);
    }
  }
  return *this;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::put(char_type c) {
  sentry guard(*this);
  if (guard.ok) {
    __ios_type& ios = *this;
    if (torvel_ios::put_char(ios.stream_buffer, c) == torvel_ios::end_of_file) ios.setstate(ios_base::badbit);
  }
  return *this;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::write(const char_type* s, streamsize n) {
  sentry guard(*this);
  if (guard.ok) {
    __ios_type& ios = *this;
    if (ios.stream_buffer->xsputn(s, n) != n) ios.setstate(ios_base::badbit);
  }
  return *this;
}

template<typename _CharT, typename _Traits>
void basic_ostream<_CharT, _Traits>::_M_write(const char_type* s, streamsize n) {
  __ios_type& ios = *this;
  // Without a buffer nothing can be written: a short write of every byte.
  if (ios.stream_buffer == 0 || ios.stream_buffer->xsputn(s, n) != n) ios.setstate(ios_base::badbit);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::flush() {
  __ios_type& ios = *this;
  if (ios.stream_buffer != 0 && ios.stream_buffer->sync() == torvel_ios::end_of_file) ios.setstate(ios_base::badbit);
  return *this;
}

template<typename _CharT, typename _Traits>
typename basic_ostream<_CharT, _Traits>::pos_type basic_ostream<_CharT, _Traits>::tellp() {
  __ios_type& ios = *this;
  if (ios.fail()) return pos_type(off_type(-1));
  return ios.stream_buffer->pubseekoff(0, ios_base::cur, ios_base::out);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::seekp(pos_type pos) {
  __ios_type& ios = *this;
  if (!ios.fail() && ios.stream_buffer->pubseekpos(pos, ios_base::out).offset == -1) ios.setstate(ios_base::failbit);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::seekp(off_type off, _Ios_Seekdir dir) {
  __ios_type& ios = *this;
  if (!ios.fail() && ios.stream_buffer->pubseekoff(off, dir, ios_base::out).offset == -1)
    ios.setstate(ios_base::failbit);
  return *this;
}

template class basic_ostream<char>;

}
