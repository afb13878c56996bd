// std::basic_ios<char> of the guest ABI (136 bytes): ios_base plus the tie,
// the fill character, the stream buffer and the cached facet pointers.
#ifndef TORVEL_BASIC_IOS_H
#define TORVEL_BASIC_IOS_H

#include "ctype_shape.h"
#include "ios_base.h"

namespace std {

template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_ios : public ios_base {
public:
  typedef _CharT char_type;
  typedef _Traits traits_type;
  typedef typename _Traits::int_type int_type;

  explicit basic_ios(basic_streambuf<_CharT, _Traits>* sb);
  basic_ios();
  virtual ~basic_ios();

  iostate rdstate() const;
  bool good() const;
  bool eof() const;
  bool bad() const;
  bool fail() const;
  bool operator!() const;
  operator void*() const;
  iostate exceptions() const;
  basic_streambuf<_CharT, _Traits>* rdbuf() const;
  basic_ostream<_CharT, _Traits>* tie() const;
  char_type fill() const;
  char_type widen(char c) const;
  char narrow(char_type c, char dfault) const;

  void clear(iostate state = goodbit);
  void setstate(iostate state);
  void _M_setstate(iostate state);
  void exceptions(iostate mask);
  basic_ostream<_CharT, _Traits>* tie(basic_ostream<_CharT, _Traits>* t);
  basic_streambuf<_CharT, _Traits>* rdbuf(basic_streambuf<_CharT, _Traits>* sb);
  char_type fill(char_type c);
  basic_ios& copyfmt(const basic_ios& src);
  locale imbue(const locale& loc);
  void _M_cache_locale(const locale& loc);
  void init(basic_streambuf<_CharT, _Traits>* sb);

  basic_ostream<_CharT, _Traits>* tied_stream;
  mutable char_type fill_char;
  mutable bool fill_set;
  char fill_padding[2];
  basic_streambuf<_CharT, _Traits>* stream_buffer;
  const ctype_char_shape* ctype_facet;
  const void* num_put_facet;
  const void* num_get_facet;

private:
  basic_ios(const basic_ios&);
  basic_ios& operator=(const basic_ios&);
};

extern template class basic_ios<char>;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(basic_ios<char>) == 136, "basic_ios<char>");
static_assert(__builtin_offsetof(basic_ios<char>, tied_stream) == 112, "basic_ios<char>::tied_stream");
static_assert(__builtin_offsetof(basic_ios<char>, fill_char) == 116, "basic_ios<char>::fill_char");
static_assert(__builtin_offsetof(basic_ios<char>, fill_set) == 117, "basic_ios<char>::fill_set");
static_assert(__builtin_offsetof(basic_ios<char>, fill_padding) == 118, "basic_ios<char>::fill_padding");
static_assert(__builtin_offsetof(basic_ios<char>, stream_buffer) == 120, "basic_ios<char>::stream_buffer");
static_assert(__builtin_offsetof(basic_ios<char>, ctype_facet) == 124, "basic_ios<char>::ctype_facet");
static_assert(__builtin_offsetof(basic_ios<char>, num_put_facet) == 128, "basic_ios<char>::num_put_facet");
static_assert(__builtin_offsetof(basic_ios<char>, num_get_facet) == 132, "basic_ios<char>::num_get_facet");
#pragma GCC diagnostic pop

}

#endif
