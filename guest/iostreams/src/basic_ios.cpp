// std::basic_ios<char>: state, tie, fill, buffer and format copying.
// Explicitly instantiated for char: every member is a weak export.
#include "basic_ios.h"

#include "facets.h"
#include "state_change.h"

namespace std {

template<typename _CharT, typename _Traits>
basic_ios<_CharT, _Traits>::basic_ios(basic_streambuf<_CharT, _Traits>* sb) : ios_base() {
  init(sb);
}

template<typename _CharT, typename _Traits>
basic_ios<_CharT, _Traits>::basic_ios()
    : ios_base(), tied_stream(0), stream_buffer(0), ctype_facet(0), num_put_facet(0), num_get_facet(0) {
  *reinterpret_cast<unsigned short*>(&fill_char) = 0;
}

template<typename _CharT, typename _Traits>
basic_ios<_CharT, _Traits>::~basic_ios() {}

template<typename _CharT, typename _Traits>
typename basic_ios<_CharT, _Traits>::iostate basic_ios<_CharT, _Traits>::rdstate() const {
  return stream_state;
}

template<typename _CharT, typename _Traits>
bool basic_ios<_CharT, _Traits>::good() const {
  return stream_state == 0;
}

template<typename _CharT, typename _Traits>
bool basic_ios<_CharT, _Traits>::eof() const {
  return (stream_state & _S_eofbit) != 0;
}

template<typename _CharT, typename _Traits>
bool basic_ios<_CharT, _Traits>::bad() const {
  return (stream_state & _S_badbit) != 0;
}

template<typename _CharT, typename _Traits>
bool basic_ios<_CharT, _Traits>::fail() const {
  return (stream_state & (_S_badbit | _S_failbit)) != 0;
}

template<typename _CharT, typename _Traits>
bool basic_ios<_CharT, _Traits>::operator!() const {
  return fail();
}

template<typename _CharT, typename _Traits>
basic_ios<_CharT, _Traits>::operator void*() const {
  return fail() ? 0 : const_cast<basic_ios*>(this);
}

template<typename _CharT, typename _Traits>
typename basic_ios<_CharT, _Traits>::iostate basic_ios<_CharT, _Traits>::exceptions() const {
  return exception_mask;
}

template<typename _CharT, typename _Traits>
basic_streambuf<_CharT, _Traits>* basic_ios<_CharT, _Traits>::rdbuf() const {
  return stream_buffer;
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>* basic_ios<_CharT, _Traits>::tie() const {
  return tied_stream;
}

// A fill never set reads as a space, and from then on is set: the byte pair
// at +116 becomes 0x0120, even through a const reference.
template<typename _CharT, typename _Traits>
typename basic_ios<_CharT, _Traits>::char_type basic_ios<_CharT, _Traits>::fill() const {
  if (!fill_set) *reinterpret_cast<unsigned short*>(&fill_char) = 0x0120;
  return fill_char;
}

template<typename _CharT, typename _Traits>
typename basic_ios<_CharT, _Traits>::char_type basic_ios<_CharT, _Traits>::widen(char c) const {
  return c;
}

template<typename _CharT, typename _Traits>
char basic_ios<_CharT, _Traits>::narrow(char_type c, char) const {
  return c;
}

template<typename _CharT, typename _Traits>
void basic_ios<_CharT, _Traits>::clear(iostate state) {
  int next = state;
  if (stream_buffer == 0) next |= _S_badbit;
  torvel_ios::change_state_checked(*this, next);
}

template<typename _CharT, typename _Traits>
void basic_ios<_CharT, _Traits>::setstate(iostate state) {
  int next = stream_state | state;
  if (stream_buffer == 0) next |= _S_badbit;
  torvel_ios::change_state_checked(*this, next);
}

template<typename _CharT, typename _Traits>
void basic_ios<_CharT, _Traits>::_M_setstate(iostate state) {
  stream_state = iostate(stream_state | state);
}

template<typename _CharT, typename _Traits>
void basic_ios<_CharT, _Traits>::exceptions(iostate mask) {
  exception_mask = mask;
  clear(stream_state);
}

template<typename _CharT, typename _Traits>
basic_ostream<_CharT, _Traits>* basic_ios<_CharT, _Traits>::tie(basic_ostream<_CharT, _Traits>* t) {
  basic_ostream<_CharT, _Traits>* previous = tied_stream;
  tied_stream = t;
  return previous;
}

template<typename _CharT, typename _Traits>
basic_streambuf<_CharT, _Traits>* basic_ios<_CharT, _Traits>::rdbuf(basic_streambuf<_CharT, _Traits>* sb) {
  basic_streambuf<_CharT, _Traits>* previous = stream_buffer;
  stream_buffer = sb;
  clear(goodbit);
  return previous;
}

template<typename _CharT, typename _Traits>
typename basic_ios<_CharT, _Traits>::char_type basic_ios<_CharT, _Traits>::fill(char_type c) {
  char_type previous = fill();
  fill_char = c;
  fill_set = true;
  return previous;
}

template<typename _CharT, typename _Traits>
basic_ios<_CharT, _Traits>& basic_ios<_CharT, _Traits>::copyfmt(const basic_ios& src) {
  if (&src == this) return *this;
  _M_call_callbacks(erase_event);
  float_precision = src.float_precision;
  field_width = src.field_width;
  format_flags = src.format_flags;
  tied_stream = src.tied_stream;
  fill_char = src.fill();
  fill_set = true;
  stream_locale = src.stream_locale;
  _M_call_callbacks(copyfmt_event);
  exception_mask = src.exception_mask;
  clear(stream_state);
  return *this;
}

template<typename _CharT, typename _Traits>
locale basic_ios<_CharT, _Traits>::imbue(const locale& loc) {
  locale previous = ios_base::imbue(loc);
  _M_cache_locale(loc);
  return previous;
}

template<typename _CharT, typename _Traits>
void basic_ios<_CharT, _Traits>::_M_cache_locale(const locale&) {
  ctype_facet = torvel_ios::ctype_facet();
  num_put_facet = the_num_facet;
  num_get_facet = the_num_facet + 8;
}

template<typename _CharT, typename _Traits>
void basic_ios<_CharT, _Traits>::init(basic_streambuf<_CharT, _Traits>* sb) {
  float_precision = 6;
  field_width = 0;
  format_flags = fmtflags(_S_skipws | _S_dec);
  exception_mask = goodbit;
  stream_locale = locale();
  _M_cache_locale(stream_locale);
  *reinterpret_cast<unsigned short*>(&fill_char) = 0;
  tied_stream = 0;
  stream_buffer = sb;
  stream_state = sb == 0 ? badbit : goodbit;
}

template class basic_ios<char>;

}
