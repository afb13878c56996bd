// std::basic_streambuf<char>: the public members that walk the areas and
// fall back on the virtual functions, and the base's default virtual
// functions, which have nothing to give. Weak exports (explicit instantiation).
#include "streambuf.h"

#include "buffer_steps.h"
#include "c_library.h"

namespace std {

template<typename _CharT, typename _Traits>
basic_streambuf<_CharT, _Traits>::basic_streambuf()
    : get_begin(0), get_next(0), get_end(0), put_begin(0), put_next(0), put_end(0), buffer_locale() {}

template<typename _CharT, typename _Traits>
basic_streambuf<_CharT, _Traits>::~basic_streambuf() {}

template<typename _CharT, typename _Traits>
locale basic_streambuf<_CharT, _Traits>::pubimbue(const locale& loc) {
  locale previous(buffer_locale);
  imbue(loc);
  buffer_locale = loc;
  return previous;
}

template<typename _CharT, typename _Traits>
locale basic_streambuf<_CharT, _Traits>::getloc() const {
  return buffer_locale;
}

template<typename _CharT, typename _Traits>
basic_streambuf<_CharT, _Traits>* basic_streambuf<_CharT, _Traits>::pubsetbuf(char_type* s, streamsize n) {
  return setbuf(s, n);
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::pos_type
basic_streambuf<_CharT, _Traits>::pubseekoff(off_type off, _Ios_Seekdir dir, _Ios_Openmode which) {
  return seekoff(off, dir, which);
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::pos_type
basic_streambuf<_CharT, _Traits>::pubseekpos(pos_type pos, _Ios_Openmode which) {
  return seekpos(pos, which);
}

template<typename _CharT, typename _Traits>
int basic_streambuf<_CharT, _Traits>::pubsync() {
  return sync();
}

template<typename _CharT, typename _Traits>
streamsize basic_streambuf<_CharT, _Traits>::in_avail() {
  streamsize held = get_end - get_next;
  return held != 0 ? held : showmanyc();
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::sgetc() {
  return torvel_ios::peek_char(this);
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::sbumpc() {
  return torvel_ios::take_char(this);
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::snextc() {
  return torvel_ios::next_char(this);
}

template<typename _CharT, typename _Traits>
streamsize basic_streambuf<_CharT, _Traits>::sgetn(char_type* s, streamsize n) {
  return xsgetn(s, n);
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::sputbackc(char_type c) {
  if (get_begin < get_next && get_next[-1] == c) return torvel_ios::byte_value(*--get_next);
  return pbackfail(torvel_ios::byte_value(c));
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::sungetc() {
  if (get_begin < get_next) return torvel_ios::byte_value(*--get_next);
  return pbackfail(torvel_ios::end_of_file);
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::sputc(char_type c) {
  return torvel_ios::put_char(this, c);
}

template<typename _CharT, typename _Traits>
streamsize basic_streambuf<_CharT, _Traits>::sputn(const char_type* s, streamsize n) {
  return xsputn(s, n);
}

template<typename _CharT, typename _Traits>
_CharT* basic_streambuf<_CharT, _Traits>::eback() const {
  return get_begin;
}

template<typename _CharT, typename _Traits>
_CharT* basic_streambuf<_CharT, _Traits>::gptr() const {
  return get_next;
}

template<typename _CharT, typename _Traits>
_CharT* basic_streambuf<_CharT, _Traits>::egptr() const {
  return get_end;
}

template<typename _CharT, typename _Traits>
_CharT* basic_streambuf<_CharT, _Traits>::pbase() const {
  return put_begin;
}

template<typename _CharT, typename _Traits>
_CharT* basic_streambuf<_CharT, _Traits>::pptr() const {
  return put_next;
}

template<typename _CharT, typename _Traits>
_CharT* basic_streambuf<_CharT, _Traits>::epptr() const {
  return put_end;
}

template<typename _CharT, typename _Traits>
void basic_streambuf<_CharT, _Traits>::gbump(int n) {
  get_next += n;
}

template<typename _CharT, typename _Traits>
void basic_streambuf<_CharT, _Traits>::pbump(int n) {
  put_next += n;
}

template<typename _CharT, typename _Traits>
void basic_streambuf<_CharT, _Traits>::setg(char_type* b, char_type* n, char_type* e) {
  get_begin = b;
  get_next = n;
  get_end = e;
}

template<typename _CharT, typename _Traits>
void basic_streambuf<_CharT, _Traits>::setp(char_type* b, char_type* e) {
  put_begin = b;
  put_next = b;
  put_end = e;
}

template<typename _CharT, typename _Traits>
void basic_streambuf<_CharT, _Traits>::imbue(const locale&) {}

template<typename _CharT, typename _Traits>
basic_streambuf<_CharT, _Traits>* basic_streambuf<_CharT, _Traits>::setbuf(char_type*, streamsize) {
  return this;
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::pos_type
basic_streambuf<_CharT, _Traits>::seekoff(off_type, _Ios_Seekdir, _Ios_Openmode) {
  return pos_type(off_type(-1));
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::pos_type basic_streambuf<_CharT, _Traits>::seekpos(pos_type,
                                                                                                _Ios_Openmode) {
  return pos_type(off_type(-1));
}

template<typename _CharT, typename _Traits>
int basic_streambuf<_CharT, _Traits>::sync() {
  return 0;
}

template<typename _CharT, typename _Traits>
streamsize basic_streambuf<_CharT, _Traits>::showmanyc() {
  return 0;
}

template<typename _CharT, typename _Traits>
streamsize basic_streambuf<_CharT, _Traits>::xsgetn(char_type* s, streamsize n) {
  streamsize count = 0;
  while (count < n) {
    streamsize held = get_end - get_next;
    if (held != 0) {
      streamsize chunk = held < n - count ? held : n - count;
      memcpy(s + count, get_next, chunk);
      get_next += chunk;
      count += chunk;
    } else {
      int_type c = uflow();
      if (c == torvel_ios::end_of_file) break;
      s[count++] = static_cast<char_type>(c);
    }
  }
  return count;
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::underflow() {
  return torvel_ios::end_of_file;
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::uflow() {
  if (underflow() == torvel_ios::end_of_file) return torvel_ios::end_of_file;
  // An underflow that reports a character without making a get area has
  // nothing here to hand out; reading through get_next would be reading
  // through a null or stale pointer.
  if (!(get_next < get_end)) return torvel_ios::end_of_file;
  return torvel_ios::byte_value(*get_next++);
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::pbackfail(int_type) {
  return torvel_ios::end_of_file;
}

template<typename _CharT, typename _Traits>
streamsize basic_streambuf<_CharT, _Traits>::xsputn(const char_type* s, streamsize n) {
  streamsize count = 0;
  while (count < n) {
    streamsize room = put_end - put_next;
    if (room != 0) {
      streamsize chunk = room < n - count ? room : n - count;
      memcpy(put_next, s + count, chunk);
      put_next += chunk;
      count += chunk;
    } else {
      if (overflow(torvel_ios::byte_value(s[count])) == torvel_ios::end_of_file) break;
      ++count;
    }
  }
  return count;
}

template<typename _CharT, typename _Traits>
typename basic_streambuf<_CharT, _Traits>::int_type basic_streambuf<_CharT, _Traits>::overflow(int_type) {
  return torvel_ios::end_of_file;
}

template class basic_streambuf<char>;

}
