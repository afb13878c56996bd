// std::basic_filebuf<char> of the guest ABI (516 bytes): a stream buffer over
// a host FILE with one buffer that holds either read-ahead (the get area) or
// pending output (the put area), never both. The legacy layout's regions
// this design does not use are kept as reserved bytes, zeroed at
// construction and never touched again.
#ifndef TORVEL_FILEBUF_H
#define TORVEL_FILEBUF_H

#include "basic_file.h"
#include "streambuf.h"

namespace std {

template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_filebuf;

template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_filebuf : public basic_streambuf<_CharT, _Traits> {
public:
  typedef _CharT char_type;
  typedef _Traits traits_type;
  typedef typename _Traits::int_type int_type;
  typedef streampos pos_type;
  typedef streamoff off_type;
  typedef basic_streambuf<_CharT, _Traits> __streambuf_type;

  basic_filebuf();
  virtual ~basic_filebuf();

  bool is_open() const;
  basic_filebuf* open(const char* name, _Ios_Openmode mode);
  basic_filebuf* close();

  void _M_allocate_internal_buffer();
  void _M_destroy_internal_buffer();
  // Writes pending output; false when the host refused part of it.
  bool flush_out();
  // Gives unread read-ahead back by moving the host file backwards.
  void drop_in();

  virtual void imbue(const locale& loc);
  virtual __streambuf_type* setbuf(char_type* s, streamsize n);
  virtual pos_type seekoff(off_type off, _Ios_Seekdir dir, _Ios_Openmode which);
  virtual pos_type seekpos(pos_type pos, _Ios_Openmode which);
  virtual int sync();
  virtual streamsize showmanyc();
  virtual streamsize xsgetn(char_type* s, streamsize n);
  virtual int_type underflow();
  virtual int_type pbackfail(int_type c);
  virtual streamsize xsputn(const char_type* s, streamsize n);
  virtual int_type overflow(int_type c);

  char reserved_after_areas[44];
  __basic_file<char> file_handle;
  _Ios_Openmode open_mode;  // as given to open; 0 when closed
  char reserved_after_mode[384];
  char_type* buffer;
  streamsize buffer_size;
  bool buffer_owned;  // buffer came from malloc here and is freed here
  bool reading;       // the get area holds read-ahead
  bool writing;       // the put area is the buffer
  char reserved_tail[33];

private:
  basic_filebuf(const basic_filebuf&);
  basic_filebuf& operator=(const basic_filebuf&);
};

typedef basic_filebuf<char> filebuf;

extern template class basic_filebuf<char>;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(filebuf) == 516, "basic_filebuf<char>");
static_assert(__builtin_offsetof(filebuf, reserved_after_areas) == 32, "basic_filebuf<char> reserved bytes");
static_assert(__builtin_offsetof(filebuf, file_handle) == 76, "basic_filebuf<char>::host_file");
static_assert(__builtin_offsetof(filebuf, file_handle) + __builtin_offsetof(__basic_file<char>, owns_file) == 80,
              "basic_filebuf<char>::owns_file");
static_assert(__builtin_offsetof(filebuf, open_mode) == 84, "basic_filebuf<char>::open_mode");
static_assert(__builtin_offsetof(filebuf, reserved_after_mode) == 88, "basic_filebuf<char> reserved bytes");
static_assert(__builtin_offsetof(filebuf, buffer) == 472, "basic_filebuf<char>::buffer");
static_assert(__builtin_offsetof(filebuf, buffer_size) == 476, "basic_filebuf<char>::buffer_size");
static_assert(__builtin_offsetof(filebuf, buffer_owned) == 480, "basic_filebuf<char>::buffer_owned");
static_assert(__builtin_offsetof(filebuf, reading) == 481, "basic_filebuf<char>::reading");
static_assert(__builtin_offsetof(filebuf, writing) == 482, "basic_filebuf<char>::writing");
static_assert(__builtin_offsetof(filebuf, reserved_tail) == 483, "basic_filebuf<char> reserved bytes");
#pragma GCC diagnostic pop

}

#endif
