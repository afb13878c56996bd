// std::istream: construction, the input sentry, the manipulator and
// stream-buffer extractors. Weak exports (explicit instantiation; the
// unformatted input members are instantiated in istream_unformatted.cpp).
#include "istream.h"

#include "buffer_steps.h"

namespace std {

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>::basic_istream(__streambuf_type* sb) : extracted_count(0) {
  this->init(sb);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>::basic_istream() : extracted_count(0) {
  this->init(0);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>::~basic_istream() {
  extracted_count = 0;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>::sentry::sentry(basic_istream& is, bool noskipws) : ok(false) {
  __ios_type& ios = is;
  if (ios.stream_state != 0) {
    ios.setstate(ios_base::failbit);
    return;
  }
  if (ios.tied_stream != 0) torvel_ios::sync_stream_buffer<_CharT, _Traits>(*ios.tied_stream);
  int err = 0;
  if (!noskipws && (ios.format_flags & ios_base::skipws) && ios.stream_buffer != 0) {
    __streambuf_type* in = ios.stream_buffer;
    int c = torvel_ios::peek_char(in);
    while (torvel_ios::is_white_space(c)) c = torvel_ios::next_char(in);
    if (c == torvel_ios::end_of_file) err = ios_base::eofbit;
  }
  if (ios.stream_state != 0 || err != 0) ios.setstate(ios_base::iostate(err | ios_base::failbit));
  else ok = true;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>::sentry::operator bool() const {
  return ok;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(basic_istream& (*f)(basic_istream&)) {
  return f(*this);
}

// Moves characters until the source ends or the destination refuses one; a
// character leaves this stream only after the destination took it.
template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(__streambuf_type* out) {
  extracted_count = 0;
  sentry guard(*this, false);
  if (!guard.ok) return *this;
  __ios_type& ios = *this;
  if (out == 0) {
    ios.setstate(ios_base::badbit);
    return *this;
  }
  int err = 0;
  __streambuf_type* in = ios.stream_buffer;
  for (;;) {
    int c = torvel_ios::peek_char(in);
    if (c == torvel_ios::end_of_file) {
      err = ios_base::eofbit;
      break;
    }
    if (torvel_ios::put_char(out, static_cast<char>(c)) == torvel_ios::end_of_file) break;
    torvel_ios::skip_char(in);
    ++extracted_count;
  }
  if (extracted_count == 0) err |= ios_base::failbit;
  if (err != 0) ios.setstate(ios_base::iostate(err));
  return *this;
}

template<typename _CharT, typename _Traits>
streamsize basic_istream<_CharT, _Traits>::gcount() const {
  return extracted_count;
}

template class basic_istream<char>;

}
