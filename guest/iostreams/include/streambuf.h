// std::basic_streambuf<char> of the guest ABI (32 bytes): the get and put
// areas that game code walks inline, and the virtual functions it falls back
// on when an area is exhausted. The base has no storage of its own.
#ifndef TORVEL_STREAMBUF_H
#define TORVEL_STREAMBUF_H

#include "guest_locale.h"
#include "ios_types.h"
#include "torvel_export.h"

namespace std {

template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_streambuf {
public:
  typedef _CharT char_type;
  typedef _Traits traits_type;
  typedef typename _Traits::int_type int_type;
  typedef streampos pos_type;
  typedef streamoff off_type;

  basic_streambuf();
  virtual ~basic_streambuf();

  locale pubimbue(const locale& loc);
  locale getloc() const;
  basic_streambuf* pubsetbuf(char_type* s, streamsize n);
  pos_type pubseekoff(off_type off, _Ios_Seekdir dir, _Ios_Openmode which);
  pos_type pubseekpos(pos_type pos, _Ios_Openmode which);
  int pubsync();
  streamsize in_avail();
  int_type sgetc();
  int_type sbumpc();
  int_type snextc();
  streamsize sgetn(char_type* s, streamsize n);
  int_type sputbackc(char_type c);
  int_type sungetc();
  int_type sputc(char_type c);
  streamsize sputn(const char_type* s, streamsize n);

  char_type* eback() const;
  char_type* gptr() const;
  char_type* egptr() const;
  char_type* pbase() const;
  char_type* pptr() const;
  char_type* epptr() const;
  void gbump(int n);
  void pbump(int n);
  void setg(char_type* b, char_type* n, char_type* e);
  void setp(char_type* b, char_type* e);

  virtual void imbue(const locale& loc);
  virtual basic_streambuf* setbuf(char_type* s, streamsize n);
  virtual pos_type seekoff(off_type off, _Ios_Seekdir dir, _Ios_Openmode which);
  virtual pos_type seekpos(pos_type pos, _Ios_Openmode which);
  virtual int sync();
  virtual streamsize showmanyc();
  virtual streamsize xsgetn(char_type* s, streamsize n);
  virtual int_type underflow();
  virtual int_type uflow();
  virtual int_type pbackfail(int_type c);
  virtual streamsize xsputn(const char_type* s, streamsize n);
  virtual int_type overflow(int_type c);

  char_type* get_begin;
  char_type* get_next;
  char_type* get_end;
  char_type* put_begin;
  char_type* put_next;
  char_type* put_end;
  locale buffer_locale;

private:
  basic_streambuf(const basic_streambuf&);
  basic_streambuf& operator=(const basic_streambuf&);
};

extern template class basic_streambuf<char>;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(basic_streambuf<char>) == 32, "basic_streambuf<char>");
static_assert(__builtin_offsetof(basic_streambuf<char>, get_begin) == 4, "basic_streambuf<char>::get_begin");
static_assert(__builtin_offsetof(basic_streambuf<char>, get_next) == 8, "basic_streambuf<char>::get_next");
static_assert(__builtin_offsetof(basic_streambuf<char>, get_end) == 12, "basic_streambuf<char>::get_end");
static_assert(__builtin_offsetof(basic_streambuf<char>, put_begin) == 16, "basic_streambuf<char>::put_begin");
static_assert(__builtin_offsetof(basic_streambuf<char>, put_next) == 20, "basic_streambuf<char>::put_next");
static_assert(__builtin_offsetof(basic_streambuf<char>, put_end) == 24, "basic_streambuf<char>::put_end");
static_assert(__builtin_offsetof(basic_streambuf<char>, buffer_locale) == 28, "basic_streambuf<char>::buffer_locale");
#pragma GCC diagnostic pop

}

#endif
