// The arithmetic extractors of std::istream. Each skips white space through
// the sentry, has read_number collect the text of the number into a fixed
// local buffer and converts it with the host's strtoll, strtoull or strtod,
// then applies the range of its type. A failed extraction leaves the
// variable unchanged. The integer forms are instantiations of one member
// template (weak exports); bool, the floating types and void* have their
// own code (explicit specialisations, regular exports).
#include "istream.h"

#include "buffer_steps.h"
#include "c_stdio.h"

namespace {

using std::ios_base;

const int fail_mask = ios_base::badbit | ios_base::failbit;
const int integer_text_size = 128;
const int float_text_size = 256;

inline bool failed(const std::istream& in) { return (in.stream_state & fail_mask) != 0; }

// The range each integer type accepts from the 64-bit conversion. A signed
// type takes the values it can hold; an unsigned type takes what fits, and
// any negative text, which wraps around modulo the type's range.
template<typename T> struct integer_range;

template<long long low, long long high> struct signed_range {
  typedef long long wide_type;
  static bool convert(const char* text, int base, long long& value) {
    value = strtoll(text, 0, base);
    return value >= low && value <= high;
  }
};

template<unsigned long long limit> struct unsigned_range {
  typedef unsigned long long wide_type;
  static bool convert(const char* text, int base, unsigned long long& value) {
    value = strtoull(text, 0, base);
    return limit == 0 || value < limit || text[0] == '-';
  }
};

// long long and unsigned long long take whatever the conversion gives,
// saturated values included (an unsigned limit of 0 stands for none).
const long long long_long_min = -0x7fffffffffffffffLL - 1;
const long long long_long_max = 0x7fffffffffffffffLL;

template<> struct integer_range<short> : signed_range<-32768, 32767> {};
template<> struct integer_range<int> : signed_range<-0x7fffffffLL - 1, 0x7fffffff> {};
template<> struct integer_range<long> : signed_range<-0x7fffffffLL - 1, 0x7fffffff> {};
template<> struct integer_range<long long> : signed_range<long_long_min, long_long_max> {};
template<> struct integer_range<unsigned short> : unsigned_range<0x10000> {};
template<> struct integer_range<unsigned int> : unsigned_range<0x100000000ULL> {};
template<> struct integer_range<unsigned long> : unsigned_range<0x100000000ULL> {};
template<> struct integer_range<unsigned long long> : unsigned_range<0> {};

// The double route, shared by double, float and long double: its callers
// take it directly, never through an exported name.
inline void extract_double(std::istream& in, double& v) {
  std::istream::sentry guard(in, false);
  if (!guard.ok) return;
  char text[float_text_size];
  if (in.read_number(text, float_text_size, true) == 0) {
    in.setstate(ios_base::failbit);
    return;
  }
  v = strtod(text, 0);
}

// float and long double: the double's value, rounded or widened, stored only
// when the extraction succeeded.
template<typename T> inline std::istream& extract_through_double(std::istream& in, T& v) {
  double value = 0.0;
  extract_double(in, value);
  if (!failed(in)) v = static_cast<T>(value);
  return in;
}

// A pointer is read as an unsigned long in hexadecimal, 0x or not; the
// stream's own flags are put back afterwards.
inline std::istream& extract_pointer(std::istream& in, void*& v) {
  ios_base::fmtflags saved = in.format_flags;
  in.format_flags = ios_base::fmtflags((saved & ~ios_base::basefield) | ios_base::hex);
  unsigned long value = 0;
  in._M_extract(value);
  in.format_flags = saved;
  if (!failed(in)) v = reinterpret_cast<void*>(value);
  return in;
}

}

namespace std {

template<typename _CharT, typename _Traits>
template<typename _ValueT>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::_M_extract(_ValueT& v) {
  sentry guard(*this, false);
  if (!guard.ok) return *this;
  __ios_type& ios = *this;
  char text[integer_text_size];
  int base = read_number(text, integer_text_size, false);
  if (base == 0) {
    ios.setstate(ios_base::failbit);
    return *this;
  }
  typedef integer_range<_ValueT> range;
  typename range::wide_type value;
  if (range::convert(text, base, value)) v = static_cast<_ValueT>(value);
  else ios.setstate(ios_base::failbit);
  return *this;
}

// Without boolalpha a bool is the number 0 or 1; with it, the word "false"
// or "true", matched letter by letter and case-sensitively. A mismatch
// leaves the letters matched so far consumed; the character after the word
// is neither consumed nor checked for end of file.
template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(bool& v) {
  __ios_type& ios = *this;
  if (!(ios.format_flags & ios_base::boolalpha)) {
    long n = 0;
    _M_extract(n);
    if (failed(*this)) return *this;
    if (n == 0 || n == 1) v = n == 1;
    else ios.setstate(ios_base::failbit);
    return *this;
  }
  sentry guard(*this, false);
  if (!guard.ok) return *this;
  static const char* const word[2] = {"false", "true"};
  __streambuf_type* in = ios.stream_buffer;
  int c = torvel_ios::peek_char(in);
  if (c != 'f' && c != 't') {
    ios.setstate(ios_base::failbit);
    return *this;
  }
  const bool is_true = c == 't';
  for (const char* letter = word[is_true ? 1 : 0]; *letter != '\0'; ++letter) {
    if (c != *letter) {
      int err = ios_base::failbit;
      if (c == torvel_ios::end_of_file) err |= ios_base::eofbit;
      ios.setstate(ios_base::iostate(err));
      return *this;
    }
    c = torvel_ios::next_char(in);
  }
  v = is_true;
  return *this;
}

template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(double& v) {
  extract_double(*this, v);
  return *this;
}

template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(float& v) {
  return extract_through_double(*this, v);
}

template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(long double& v) {
  return extract_through_double(*this, v);
}

template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(void*& v) {
  return extract_pointer(*this, v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(bool& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(short& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(unsigned short& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(int& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(unsigned int& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(long& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(unsigned long& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(long long& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(unsigned long long& v) {
  return _M_extract(v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(double& v) {
  return _M_extract(v);
}

// float, long double and void* carry the code of their _M_extract forms
// themselves.
template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(float& v) {
  return extract_through_double(*this, v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(long double& v) {
  return extract_through_double(*this, v);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::operator>>(void*& v) {
  return extract_pointer(*this, v);
}

template istream& istream::_M_extract(short&);
template istream& istream::_M_extract(unsigned short&);
template istream& istream::_M_extract(int&);
template istream& istream::_M_extract(unsigned int&);
template istream& istream::_M_extract(long&);
template istream& istream::_M_extract(unsigned long&);
template istream& istream::_M_extract(long long&);
template istream& istream::_M_extract(unsigned long long&);
template istream& istream::operator>>(bool&);
template istream& istream::operator>>(short&);
template istream& istream::operator>>(unsigned short&);
template istream& istream::operator>>(int&);
template istream& istream::operator>>(unsigned int&);
template istream& istream::operator>>(long&);
template istream& istream::operator>>(unsigned long&);
template istream& istream::operator>>(long long&);
template istream& istream::operator>>(unsigned long long&);
template istream& istream::operator>>(float&);
template istream& istream::operator>>(double&);
template istream& istream::operator>>(long double&);
template istream& istream::operator>>(void*&);

}
