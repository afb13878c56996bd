// std::basic_stringstream<char>: an iostream over its own string buffer,
// which takes the mode as given. Its virtual table, VTT, construction tables
// and type information come out of this unit; weak exports (explicit
// instantiation).
#include "string_streams.h"

namespace std {

// The stream base starts with a null buffer (and badbit); init with the
// member buffer then clears the state and resets the formatting.
template<typename _CharT, typename _Traits, typename _Alloc>
basic_stringstream<_CharT, _Traits, _Alloc>::basic_stringstream(_Ios_Openmode mode)
    : basic_iostream<_CharT, _Traits>(), string_buffer(mode) {
  this->init(&string_buffer);
}

template<typename _CharT, typename _Traits, typename _Alloc>
basic_stringstream<_CharT, _Traits, _Alloc>::basic_stringstream(const __string_type& s, _Ios_Openmode mode)
    : basic_iostream<_CharT, _Traits>(), string_buffer(s, mode) {
  this->init(&string_buffer);
}

template<typename _CharT, typename _Traits, typename _Alloc>
basic_stringstream<_CharT, _Traits, _Alloc>::~basic_stringstream() {}

template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringstream<_CharT, _Traits, _Alloc>::__stringbuf_type*
basic_stringstream<_CharT, _Traits, _Alloc>::rdbuf() const {
  return const_cast<__stringbuf_type*>(&string_buffer);
}

template<typename _CharT, typename _Traits, typename _Alloc>
typename basic_stringstream<_CharT, _Traits, _Alloc>::__string_type
basic_stringstream<_CharT, _Traits, _Alloc>::str() const {
  return string_buffer.str();
}

template<typename _CharT, typename _Traits, typename _Alloc>
void basic_stringstream<_CharT, _Traits, _Alloc>::str(const __string_type& s) {
  string_buffer.str(s);
}

template class basic_stringstream<char>;

}
