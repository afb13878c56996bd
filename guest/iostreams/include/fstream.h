// The file streams of the guest ABI: std::basic_ifstream<char> (660 bytes),
// std::basic_ofstream<char> (656) and std::basic_fstream<char> (664). Each
// owns a file buffer placed right after its stream part, with the shared
// basic_ios<char> after it, and turns open and close failures into state.
#ifndef TORVEL_FSTREAM_H
#define TORVEL_FSTREAM_H

#include "filebuf.h"
#include "istream.h"

namespace std {

template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_ifstream;
template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_ofstream;
template<typename _CharT, typename _Traits = char_traits<_CharT> > class TORVEL_EXPORT basic_fstream;

// Opening adds in; the default mode is the one the legacy headers gave.
template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_ifstream : public basic_istream<_CharT, _Traits> {
public:
  typedef basic_filebuf<_CharT, _Traits> __filebuf_type;

  basic_ifstream();
  explicit basic_ifstream(const char* name, _Ios_Openmode mode = _S_in);
  virtual ~basic_ifstream();

  __filebuf_type* rdbuf() const;
  bool is_open();
  bool is_open() const;
  void open(const char* name, _Ios_Openmode mode = _S_in);
  void close();

  __filebuf_type file_buffer;
};

// Opening adds out.
template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_ofstream : public basic_ostream<_CharT, _Traits> {
public:
  typedef basic_filebuf<_CharT, _Traits> __filebuf_type;

  basic_ofstream();
  explicit basic_ofstream(const char* name, _Ios_Openmode mode = _Ios_Openmode(_S_out | _S_trunc));
  virtual ~basic_ofstream();

  __filebuf_type* rdbuf() const;
  bool is_open();
  bool is_open() const;
  void open(const char* name, _Ios_Openmode mode = _Ios_Openmode(_S_out | _S_trunc));
  void close();

  __filebuf_type file_buffer;
};

// Opening adds nothing.
template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_fstream : public basic_iostream<_CharT, _Traits> {
public:
  typedef basic_filebuf<_CharT, _Traits> __filebuf_type;

  basic_fstream();
  explicit basic_fstream(const char* name, _Ios_Openmode mode = _Ios_Openmode(_S_in | _S_out));
  virtual ~basic_fstream();

  __filebuf_type* rdbuf() const;
  bool is_open();
  bool is_open() const;
  void open(const char* name, _Ios_Openmode mode = _Ios_Openmode(_S_in | _S_out));
  void close();

  __filebuf_type file_buffer;
};

typedef basic_ifstream<char> ifstream;
typedef basic_ofstream<char> ofstream;
typedef basic_fstream<char> fstream;

extern template class basic_ifstream<char>;
extern template class basic_ofstream<char>;
extern template class basic_fstream<char>;

// The virtual basic_ios<char> part ends each object, right after the file
// buffer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(ifstream) == 660, "basic_ifstream<char>");
static_assert(__builtin_offsetof(ifstream, extracted_count) == 4, "basic_ifstream<char>::extracted_count");
static_assert(__builtin_offsetof(ifstream, file_buffer) == 8, "basic_ifstream<char> file buffer");
static_assert(sizeof(ifstream) - sizeof(basic_ios<char>) == 524, "basic_ifstream<char> basic_ios<char> part");
static_assert(sizeof(ofstream) == 656, "basic_ofstream<char>");
static_assert(__builtin_offsetof(ofstream, file_buffer) == 4, "basic_ofstream<char> file buffer");
static_assert(sizeof(ofstream) - sizeof(basic_ios<char>) == 520, "basic_ofstream<char> basic_ios<char> part");
static_assert(sizeof(fstream) == 664, "basic_fstream<char>");
static_assert(__builtin_offsetof(fstream, extracted_count) == 4, "basic_fstream<char>::extracted_count");
static_assert(__builtin_offsetof(fstream, file_buffer) == 12, "basic_fstream<char> file buffer");
static_assert(sizeof(fstream) - sizeof(basic_ios<char>) == 528, "basic_fstream<char> basic_ios<char> part");
#pragma GCC diagnostic pop

}

#endif
