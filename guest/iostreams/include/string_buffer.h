// std::basic_stringbuf<char> of the guest ABI (40 bytes): a stream buffer
// whose characters live in a guest std::string. Writes go straight into the
// string's spare capacity, so the string's recorded length lags behind the
// content; the content is always [put_begin, max(put_next, get_end)) while a
// put area exists. Game code built against the old headers reads and moves
// the six area pointers itself and calls _M_sync, _M_stringbuf_init and
// _M_update_egptr, so their effects on the pointers are part of the format.
#ifndef TORVEL_STRING_BUFFER_H
#define TORVEL_STRING_BUFFER_H

#include "shared_string.h"
#include "streambuf.h"

namespace std {

template<typename _CharT, typename _Traits = char_traits<_CharT>, typename _Alloc = allocator<_CharT> >
class TORVEL_EXPORT basic_stringbuf;

template<typename _CharT, typename _Traits, typename _Alloc>
class TORVEL_EXPORT basic_stringbuf : public basic_streambuf<_CharT, _Traits> {
public:
  typedef _CharT char_type;
  typedef _Traits traits_type;
  typedef typename _Traits::int_type int_type;
  typedef streampos pos_type;
  typedef streamoff off_type;
  typedef basic_streambuf<_CharT, _Traits> __streambuf_type;
  typedef basic_string<_CharT, _Traits, _Alloc> __string_type;
  typedef typename __string_type::size_type __size_type;

  explicit basic_stringbuf(_Ios_Openmode mode);
  basic_stringbuf(const __string_type& s, _Ios_Openmode mode);
  // The destructor is left implicit, as in the headers game code was built
  // against: every user carries its own copy, and the library's copies
  // behind the virtual table stay internal.

  __string_type str() const;
  void str(const __string_type& s);

  void _M_stringbuf_init(_Ios_Openmode mode);
  void _M_sync(char_type* base, __size_type i, __size_type o);
  void _M_update_egptr();

  virtual __streambuf_type* setbuf(char_type* s, streamsize n);
  virtual pos_type seekoff(off_type off, _Ios_Seekdir way, _Ios_Openmode which);
  virtual pos_type seekpos(pos_type pos, _Ios_Openmode which);
  virtual streamsize showmanyc();
  virtual int_type underflow();
  virtual int_type pbackfail(int_type c);
  virtual int_type overflow(int_type c);

  _Ios_Openmode open_mode;
  __string_type held_string;

private:
  basic_stringbuf(const basic_stringbuf&);
  basic_stringbuf& operator=(const basic_stringbuf&);
};

extern template class basic_stringbuf<char>;

typedef basic_stringbuf<char> stringbuf;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(stringbuf) == 40, "basic_stringbuf<char>");
static_assert(__builtin_offsetof(stringbuf, open_mode) == 32, "basic_stringbuf<char>::open_mode");
static_assert(__builtin_offsetof(stringbuf, held_string) == 36, "basic_stringbuf<char>::held_string");
#pragma GCC diagnostic pop

}

#endif
