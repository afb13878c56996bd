// The character-sequence inserter, the character and C-string inserters
// built on it, and the three output manipulators. Weak exports (function
// templates instantiated for char).
#include "ostream.h"

#include "buffer_steps.h"
#include "c_library.h"
#include "output_operation.h"

namespace std {

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& __ostream_insert(basic_ostream<_CharT, _Traits>& os, const _CharT* s,
                                                  streamsize n) {
  torvel_ios::output_operation<_CharT, _Traits> operation(os);
  if (operation.ok()) os._M_pad_write(s, n, 0);
  return os;
}

template<typename _Traits>
basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, char c) {
  return __ostream_insert(os, &c, 1);
}

template<typename _Traits>
basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, signed char c) {
  char copy = static_cast<char>(c);
  return __ostream_insert(os, &copy, 1);
}

template<typename _Traits>
basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, unsigned char c) {
  char copy = static_cast<char>(c);
  return __ostream_insert(os, &copy, 1);
}

// A null string is a failure of the stream, not something to read.
template<typename _Traits>
static inline basic_ostream<char, _Traits>& insert_text(basic_ostream<char, _Traits>& os, const char* s) {
  if (s == 0) {
    static_cast<basic_ios<char, _Traits>&>(os).setstate(ios_base::badbit);
    return os;
  }
  return __ostream_insert(os, s, static_cast<streamsize>(strlen(s)));
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& operator<<(basic_ostream<_CharT, _Traits>& os, const _CharT* s) {
  return insert_text(os, s);
}

template<typename _Traits>
basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, const char* s) {
  return insert_text(os, s);
}

template<typename _Traits>
basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, const signed char* s) {
  return insert_text(os, reinterpret_cast<const char*>(s));
}

template<typename _Traits>
basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, const unsigned char* s) {
  return insert_text(os, reinterpret_cast<const char*>(s));
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& endl(basic_ostream<_CharT, _Traits>& os) {
  os.put(10);
  torvel_ios::sync_stream_buffer<_CharT, _Traits>(os);
  return os;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& ends(basic_ostream<_CharT, _Traits>& os) {
  return os.put(0);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>& flush(basic_ostream<_CharT, _Traits>& os) {
  torvel_ios::sync_stream_buffer<_CharT, _Traits>(os);
  return os;
}

template ostream& __ostream_insert(ostream&, const char*, streamsize);
template ostream& operator<<(ostream&, char);
template ostream& operator<<(ostream&, signed char);
template ostream& operator<<(ostream&, unsigned char);
template ostream& operator<< <char, char_traits<char> >(ostream&, const char*);
template ostream& operator<<(ostream&, const char*);
template ostream& operator<<(ostream&, const signed char*);
template ostream& operator<<(ostream&, const unsigned char*);
template ostream& endl(ostream&);
template ostream& ends(ostream&);
template ostream& flush(ostream&);

}
