// std::ostream: construction, unformatted output, flushing and positioning.
// Weak exports (explicit instantiation; the output sentry is instantiated in
// output_sentry.cpp, the numeric inserters in ostream_numeric.cpp).
#include "ostream.h"

#include "buffer_steps.h"

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
  torvel_ios::sync_stream_buffer<_CharT, _Traits>(*this);
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
