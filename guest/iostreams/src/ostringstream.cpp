// std::basic_ostringstream<char>: an ostream over its own string buffer,
// which is always open for output. Its virtual table, VTT, construction table
// and type information come out of this unit; weak exports (explicit
// instantiation).
#include "string_streams.h"

namespace std {

// The stream base starts with a null buffer (and badbit); init with the
// member buffer then clears the state and resets the formatting.
template<typename _CharT, typename _Traits, typename _Alloc>
basic_ostringstream<_CharT, _Traits, _Alloc>::basic_ostringstream(_Ios_Openmode mode)
    : basic_ostream<_CharT, _Traits>(), string_buffer(_Ios_Openmode(mode | _S_out)) {
  this->init(&string_buffer);
}

template<typename _CharT, typename _Traits, typename _Alloc>
basic_ostringstream<_CharT, _Traits, _Alloc>::basic_ostringstream(const __string_type& s, _Ios_Openmode mode)
    : basic_ostream<_CharT, _Traits>(), string_buffer(s, _Ios_Openmode(mode | _S_out)) {
  this->init(&string_buffer);
}

template<typename _CharT, typename _Traits, typename _Alloc>
basic_ostringstream<_CharT, _Traits, _Alloc>::~basic_ostringstream() {}

template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_ostringstream<_CharT, _Traits, _Alloc>::__stringbuf_type*
basic_ostringstream<_CharT, _Traits, _Alloc>::rdbuf() const {
  return const_cast<__stringbuf_type*>(&string_buffer);
}

template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_ostringstream<_CharT, _Traits, _Alloc>::__string_type
basic_ostringstream<_CharT, _Traits, _Alloc>::str() const {
  return string_buffer.str();
}

template<typename _CharT, typename _Traits, typename _Alloc>
void basic_ostringstream<_CharT, _Traits, _Alloc>::str(const __string_type& s) {
  string_buffer.str(s);
}

template class basic_ostringstream<char>;

}
