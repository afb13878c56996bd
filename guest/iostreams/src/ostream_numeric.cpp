// The arithmetic inserters of std::ostream. Integers are written by
// integer_text.h, floating point and pointers by the host's snprintf from a
// format built out of the stream's flags, each into a fixed local buffer;
// the padding writer (padding.cpp) then applies width, fill and adjustment.
#include "ostream.h"

#include "c_library.h"
#include "c_stdio.h"
#include "integer_text.h"

namespace {

using std::ios_base;
using torvel_ios::integer_value;

inline integer_value integer_of(long v) {
  integer_value r = {static_cast<unsigned long long>(static_cast<unsigned long>(v)), v, true};
  return r;
}
inline integer_value integer_of(unsigned long v) {
  integer_value r = {v, static_cast<long long>(v), false};
  return r;
}
inline integer_value integer_of(long long v) {
  integer_value r = {static_cast<unsigned long long>(v), v, true};
  return r;
}
inline integer_value integer_of(unsigned long long v) {
  integer_value r = {v, static_cast<long long>(v), false};
  return r;
}

inline bool base_is_exactly_oct_or_hex(int flags) {
  int base = flags & ios_base::basefield;
  return base == ios_base::oct || base == ios_base::hex;
}

}

namespace std {

template<typename _CharT, typename _Traits>
template<typename _ValueT>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::_M_insert(_ValueT v) {
  sentry guard(*this);
  if (guard.ok) {
    char text[96];
    int split;
    const char* first = torvel_ios::integer_text(text + sizeof text, this->format_flags, integer_of(v), split);
    _M_pad_write(first, text + sizeof text - first, split);
  }
  return *this;
}

template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(double v) {
  sentry guard(*this);
  if (guard.ok) {
    int flags = this->format_flags;
    char format[8];
    int f = 0;
    format[f++] = '%';
    if (flags & ios_base::showpos) format[f++] = '+';
    if (flags & ios_base::showpoint) format[f++] = '#';
    format[f++] = '.';
    format[f++] = '*';
    int floatfield = flags & ios_base::floatfield;
    bool upper = (flags & ios_base::uppercase) != 0;
    if (floatfield == ios_base::fixed) format[f++] = 'f';
    else if (floatfield == ios_base::scientific) format[f++] = upper ? 'E' : 'e';
    else format[f++] = upper ? 'G' : 'g';
    format[f] = '\0';
    int precision = this->float_precision;
    if (precision < 0) precision = 6;
    else if (precision > 300) precision = 300;
    char text[400];
    snprintf(text, sizeof text, format, precision, v);
    _M_pad_write(text, strlen(text), (text[0] == '+' || text[0] == '-') ? 1 : 0);
  }
  return *this;
}

template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(long double v) {
  return _M_insert(static_cast<double>(v));
}

template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(bool v) {
  if (!(this->format_flags & ios_base::boolalpha)) return _M_insert(static_cast<long>(v ? 1 : 0));
  sentry guard(*this);
  if (guard.ok) {
    if (v) _M_pad_write("true", 4, 0);
    else _M_pad_write("false", 5, 0);
  }
  return *this;
}

template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(const void* p) {
  sentry guard(*this);
  if (guard.ok) {
    char text[32];
    snprintf(text, sizeof text, "0x%lx", reinterpret_cast<unsigned long>(p));
    _M_pad_write(text, strlen(text), 2);
  }
  return *this;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(long v) {
  return _M_insert(v);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(unsigned long v) {
  return _M_insert(v);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(long long v) {
  return _M_insert(v);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(unsigned long long v) {
  return _M_insert(v);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(bool v) {
  return _M_insert(v);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(double v) {
  return _M_insert(v);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(const void* p) {
  return _M_insert(p);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(short v) {
  if (base_is_exactly_oct_or_hex(this->format_flags))
    return _M_insert(static_cast<unsigned long>(static_cast<unsigned short>(v)));
  return _M_insert(static_cast<long>(v));
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(int v) {
  if (base_is_exactly_oct_or_hex(this->format_flags)) return _M_insert(static_cast<unsigned long>(v));
  return _M_insert(static_cast<long>(v));
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(unsigned short v) {
  return _M_insert(static_cast<unsigned long>(v));
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(unsigned int v) {
  return _M_insert(static_cast<unsigned long>(v));
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(float v) {
  return _M_insert(static_cast<double>(v));
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& basic_ostream<_CharT, _Traits>::operator<<(long double v) {
  return _M_insert(static_cast<double>(v));
}

template basic_ostream<char>& basic_ostream<char>::_M_insert(long);
template basic_ostream<char>& basic_ostream<char>::_M_insert(unsigned long);
template basic_ostream<char>& basic_ostream<char>::_M_insert(long long);
template basic_ostream<char>& basic_ostream<char>::_M_insert(unsigned long long);
template basic_ostream<char>& basic_ostream<char>::operator<<(long);
template basic_ostream<char>& basic_ostream<char>::operator<<(unsigned long);
template basic_ostream<char>& basic_ostream<char>::operator<<(long long);
template basic_ostream<char>& basic_ostream<char>::operator<<(unsigned long long);
template basic_ostream<char>& basic_ostream<char>::operator<<(bool);
template basic_ostream<char>& basic_ostream<char>::operator<<(double);
template basic_ostream<char>& basic_ostream<char>::operator<<(const void*);
template basic_ostream<char>& basic_ostream<char>::operator<<(short);
template basic_ostream<char>& basic_ostream<char>::operator<<(int);
template basic_ostream<char>& basic_ostream<char>::operator<<(unsigned short);
template basic_ostream<char>& basic_ostream<char>::operator<<(unsigned int);
template basic_ostream<char>& basic_ostream<char>::operator<<(float);
template basic_ostream<char>& basic_ostream<char>::operator<<(long double);

}
