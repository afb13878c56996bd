// The character and C-string extractors and std::ws. Weak exports (function
// templates instantiated for char). White space is always the six bytes
// tab, line feed, vertical tab, form feed, carriage return and space; no
// facet is asked. None of them touches gcount().
#include "istream.h"

#include "buffer_steps.h"

namespace {

using std::ios_base;

// The C-string extractor's limit when no width is set.
const std::streamsize unlimited_text = 0x7ffffffe;

// One character, after the sentry skipped white space; the three character
// types share this code.
inline std::istream& extract_char(std::istream& in, char& c) {
  std::istream::sentry guard(in, false);
  if (guard.ok) {
    int got = torvel_ios::take_char(in.stream_buffer);
    if (got == torvel_ios::end_of_file) in.setstate(ios_base::iostate(ios_base::eofbit | ios_base::failbit));
    else c = static_cast<char>(got);
  }
  return in;
}

}

namespace std {

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& operator>>(basic_istream<_CharT, _Traits>& in, _CharT& c) {
  return extract_char(in, c);
}

template<typename _Traits>
basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, unsigned char& c) {
  return extract_char(in, reinterpret_cast<char&>(c));
}

template<typename _Traits>
basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, signed char& c) {
  return extract_char(in, reinterpret_cast<char&>(c));
}

// A word up to the next white space or the end of the input, at most
// width - 1 characters when a width is set, always NUL-terminated. The
// width is spent, unless the sentry refused the stream. eofbit and failbit
// are set in two steps, so with both in the exception mask the report comes
// at eofbit.
template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& operator>>(basic_istream<_CharT, _Traits>& in, _CharT* s) {
  typedef basic_ios<_CharT, _Traits> ios_type;
  ios_type& ios = in;
  typename basic_istream<_CharT, _Traits>::sentry guard(in, false);
  if (!guard.ok) {
    ios.setstate(ios_base::failbit);
    return in;
  }
  streamsize limit = ios.field_width > 0 ? ios.field_width - 1 : unlimited_text;
  basic_streambuf<_CharT, _Traits>* buffer = ios.stream_buffer;
  streamsize stored = 0;
  int c = torvel_ios::peek_char(buffer);
  while (stored < limit && c != torvel_ios::end_of_file && !torvel_ios::is_white_space(c)) {
    s[stored++] = static_cast<_CharT>(c);
    c = torvel_ios::next_char(buffer);
  }
  if (c == torvel_ios::end_of_file) ios.setstate(ios_base::eofbit);
  s[stored] = _CharT();
  ios.field_width = 0;
  if (stored == 0) ios.setstate(ios_base::failbit);
  return in;
}

template<typename _Traits>
basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, unsigned char* s) {
  return in >> reinterpret_cast<char*>(s);
}

template<typename _Traits>
basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, signed char* s) {
  return in >> reinterpret_cast<char*>(s);
}

// Skips white space without a sentry, whatever the stream's state; only the
// end of the input changes the state. A stream without a buffer has
// nothing to skip and is marked bad.
template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& ws(basic_istream<_CharT, _Traits>& in) {
  basic_ios<_CharT, _Traits>& ios = in;
  basic_streambuf<_CharT, _Traits>* buffer = ios.stream_buffer;
  if (buffer == 0) {
    ios.setstate(ios_base::badbit);
    return in;
  }
  int c = torvel_ios::peek_char(buffer);
  while (torvel_ios::is_white_space(c)) c = torvel_ios::next_char(buffer);
  if (c == torvel_ios::end_of_file) ios.setstate(ios_base::eofbit);
  return in;
}

template istream& operator>>(istream&, char&);
template istream& operator>>(istream&, unsigned char&);
template istream& operator>>(istream&, signed char&);
template istream& operator>>(istream&, char*);
template istream& operator>>(istream&, unsigned char*);
template istream& operator>>(istream&, signed char*);
template istream& ws(istream&);

}
