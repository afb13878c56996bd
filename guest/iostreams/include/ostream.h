// std::ostream of the guest ABI (140 bytes): a table pointer and the virtual
// basic_ios<char> base, the output sentry, and the output members.
#ifndef TORVEL_OSTREAM_H
#define TORVEL_OSTREAM_H

#include "basic_ios.h"
#include "streambuf.h"

namespace std {

template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_ostream : virtual public basic_ios<_CharT, _Traits> {
public:
  typedef _CharT char_type;
  typedef _Traits traits_type;
  typedef typename _Traits::int_type int_type;
  typedef streampos pos_type;
  typedef streamoff off_type;
  typedef basic_streambuf<_CharT, _Traits> __streambuf_type;
  typedef basic_ios<_CharT, _Traits> __ios_type;

  // Brackets every output operation: flushes the tied stream first, and
  // syncs a unit-buffered stream at the end (8 bytes).
  class TORVEL_EXPORT sentry {
  public:
    explicit sentry(basic_ostream& os);
    ~sentry();
    explicit operator bool() const;

    bool ok;
    basic_ostream* sentry_stream;
  };

  explicit basic_ostream(__streambuf_type* sb);
  basic_ostream();
  virtual ~basic_ostream();

  basic_ostream& operator<<(basic_ostream& (*f)(basic_ostream&));
  basic_ostream& operator<<(__ios_type& (*f)(__ios_type&));
  basic_ostream& operator<<(ios_base& (*f)(ios_base&));

  basic_ostream& operator<<(long v);
  basic_ostream& operator<<(unsigned long v);
  basic_ostream& operator<<(bool v);
  basic_ostream& operator<<(short v);
  basic_ostream& operator<<(unsigned short v);
  basic_ostream& operator<<(int v);
  basic_ostream& operator<<(unsigned int v);
  basic_ostream& operator<<(long long v);
  basic_ostream& operator<<(unsigned long long v);
  basic_ostream& operator<<(double v);
  basic_ostream& operator<<(float v);
  basic_ostream& operator<<(long double v);
  basic_ostream& operator<<(const void* p);
  basic_ostream& operator<<(__streambuf_type* in);

  basic_ostream& put(char_type c);
  basic_ostream& write(const char_type* s, streamsize n);
  void _M_write(const char_type* s, streamsize n);
  basic_ostream& flush();
  pos_type tellp();
  basic_ostream& seekp(pos_type pos);
  basic_ostream& seekp(off_type off, _Ios_Seekdir dir);

  template<typename _ValueT> basic_ostream& _M_insert(_ValueT v);
  void _M_pad_write(const char_type* s, streamsize n, streamsize split);
};

// Formatted by their own code, not by the integer template.
template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(bool v);
template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(double v);
template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(long double v);
template<> template<> basic_ostream<char>& basic_ostream<char>::_M_insert(const void* v);

extern template class basic_ostream<char>;
extern template basic_ostream<char>& basic_ostream<char>::_M_insert(long);
extern template basic_ostream<char>& basic_ostream<char>::_M_insert(unsigned long);
extern template basic_ostream<char>& basic_ostream<char>::_M_insert(long long);
extern template basic_ostream<char>& basic_ostream<char>::_M_insert(unsigned long long);

static_assert(sizeof(ostream) == 140, "ostream");
static_assert(sizeof(ostream::sentry) == 8, "ostream::sentry");
static_assert(__builtin_offsetof(ostream::sentry, ok) == 0, "ostream::sentry::ok");
static_assert(__builtin_offsetof(ostream::sentry, sentry_stream) == 4, "ostream::sentry::sentry_stream");

// The text inserter every character and string inserter writes through,
// and the output manipulators.
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_ostream<_CharT, _Traits>& __ostream_insert(basic_ostream<_CharT, _Traits>& os, const _CharT* s,
                                                  streamsize n);
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_ostream<_CharT, _Traits>& endl(basic_ostream<_CharT, _Traits>& os);
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_ostream<_CharT, _Traits>& ends(basic_ostream<_CharT, _Traits>& os);
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_ostream<_CharT, _Traits>& flush(basic_ostream<_CharT, _Traits>& os);

// Characters and C strings.
template<typename _Traits>
TORVEL_EXPORT basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, char c);
template<typename _Traits>
TORVEL_EXPORT basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, signed char c);
template<typename _Traits>
TORVEL_EXPORT basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, unsigned char c);
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_ostream<_CharT, _Traits>& operator<<(basic_ostream<_CharT, _Traits>& os, const _CharT* s);
template<typename _Traits>
TORVEL_EXPORT basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, const char* s);
template<typename _Traits>
TORVEL_EXPORT basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, const signed char* s);
template<typename _Traits>
TORVEL_EXPORT basic_ostream<char, _Traits>& operator<<(basic_ostream<char, _Traits>& os, const unsigned char* s);

extern template ostream& __ostream_insert(ostream&, const char*, streamsize);
extern template ostream& operator<<(ostream&, char);
extern template ostream& operator<<(ostream&, signed char);
extern template ostream& operator<<(ostream&, unsigned char);
extern template ostream& operator<< <char, char_traits<char> >(ostream&, const char*);
extern template ostream& operator<<(ostream&, const char*);
extern template ostream& operator<<(ostream&, const signed char*);
extern template ostream& operator<<(ostream&, const unsigned char*);
extern template ostream& endl(ostream&);
extern template ostream& ends(ostream&);
extern template ostream& flush(ostream&);

}

#endif
