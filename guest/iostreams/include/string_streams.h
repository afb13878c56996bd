// The three string streams of the guest ABI: std::basic_istringstream<char>
// (184 bytes), std::basic_ostringstream<char> (180) and
// std::basic_stringstream<char> (188). Each holds its string buffer as a
// member right after the stream base's own fields; the shared
// basic_ios<char> moves to the end. Game code constructs these in its own
// storage through the library's base-object constructors and VTTs.
#ifndef TORVEL_STRING_STREAMS_H
#define TORVEL_STRING_STREAMS_H

#include "istream.h"
#include "string_buffer.h"

namespace std {

template<typename _CharT, typename _Traits = char_traits<_CharT>, typename _Alloc = allocator<_CharT> >
class TORVEL_EXPORT basic_istringstream;
template<typename _CharT, typename _Traits = char_traits<_CharT>, typename _Alloc = allocator<_CharT> >
class TORVEL_EXPORT basic_ostringstream;
template<typename _CharT, typename _Traits = char_traits<_CharT>, typename _Alloc = allocator<_CharT> >
class TORVEL_EXPORT basic_stringstream;

// Reads a string; its buffer is always open for input.
template<typename _CharT, typename _Traits, typename _Alloc>
class TORVEL_EXPORT basic_istringstream : public basic_istream<_CharT, _Traits> {
public:
  typedef basic_string<_CharT, _Traits, _Alloc> __string_type;
  typedef basic_stringbuf<_CharT, _Traits, _Alloc> __stringbuf_type;

  explicit basic_istringstream(_Ios_Openmode mode);
  basic_istringstream(const __string_type& s, _Ios_Openmode mode);
  virtual ~basic_istringstream();

  __stringbuf_type* rdbuf() const;
  __string_type str() const;
  void str(const __string_type& s);

  __stringbuf_type string_buffer;
};

extern template class basic_istringstream<char>;
typedef basic_istringstream<char> istringstream;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(istringstream) == 184, "basic_istringstream<char>");
static_assert(__builtin_offsetof(istringstream, extracted_count) == 4, "basic_istringstream<char>::extracted_count");
static_assert(__builtin_offsetof(istringstream, string_buffer) == 8, "basic_istringstream<char>::string_buffer");
static_assert(sizeof(istringstream) - sizeof(basic_ios<char>) == 48, "basic_istringstream<char> basic_ios<char> part");
#pragma GCC diagnostic pop

// Writes a string; its buffer is always open for output.
template<typename _CharT, typename _Traits, typename _Alloc>
class TORVEL_EXPORT basic_ostringstream : public basic_ostream<_CharT, _Traits> {
public:
  typedef basic_string<_CharT, _Traits, _Alloc> __string_type;
  typedef basic_stringbuf<_CharT, _Traits, _Alloc> __stringbuf_type;

  explicit basic_ostringstream(_Ios_Openmode mode);
  basic_ostringstream(const __string_type& s, _Ios_Openmode mode);
  virtual ~basic_ostringstream();

  __stringbuf_type* rdbuf() const;
  __string_type str() const;
  void str(const __string_type& s);

  __stringbuf_type string_buffer;
};

extern template class basic_ostringstream<char>;
typedef basic_ostringstream<char> ostringstream;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(ostringstream) == 180, "basic_ostringstream<char>");
static_assert(__builtin_offsetof(ostringstream, string_buffer) == 4, "basic_ostringstream<char>::string_buffer");
static_assert(sizeof(ostringstream) - sizeof(basic_ios<char>) == 44, "basic_ostringstream<char> basic_ios<char> part");
#pragma GCC diagnostic pop

// Reads and writes a string; its buffer takes the mode as given.
template<typename _CharT, typename _Traits, typename _Alloc>
class TORVEL_EXPORT basic_stringstream : public basic_iostream<_CharT, _Traits> {
public:
  typedef basic_string<_CharT, _Traits, _Alloc> __string_type;
  typedef basic_stringbuf<_CharT, _Traits, _Alloc> __stringbuf_type;

  explicit basic_stringstream(_Ios_Openmode mode);
  basic_stringstream(const __string_type& s, _Ios_Openmode mode);
  virtual ~basic_stringstream();

  __stringbuf_type* rdbuf() const;
  __string_type str() const;
  void str(const __string_type& s);

  __stringbuf_type string_buffer;
};

extern template class basic_stringstream<char>;
typedef basic_stringstream<char> stringstream;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(stringstream) == 188, "basic_stringstream<char>");
static_assert(__builtin_offsetof(stringstream, extracted_count) == 4, "basic_stringstream<char>::extracted_count");
static_assert(__builtin_offsetof(stringstream, string_buffer) == 12, "basic_stringstream<char>::string_buffer");
static_assert(sizeof(stringstream) - sizeof(basic_ios<char>) == 52, "basic_stringstream<char> basic_ios<char> part");
#pragma GCC diagnostic pop

}

#endif
