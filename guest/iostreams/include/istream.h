// std::istream (144 bytes) and std::iostream (148 bytes) of the guest ABI:
// the count of the last unformatted input, the input sentry, the
// unformatted input and positioning members, the arithmetic extractors, and
// the free character and C-string extractors with std::ws.
#ifndef TORVEL_ISTREAM_H
#define TORVEL_ISTREAM_H

#include "ostream.h"

namespace std {

template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_istream : virtual public basic_ios<_CharT, _Traits> {
public:
  typedef _CharT char_type;
  typedef _Traits traits_type;
  typedef typename _Traits::int_type int_type;
  typedef streampos pos_type;
  typedef streamoff off_type;
  typedef basic_streambuf<_CharT, _Traits> __streambuf_type;
  typedef basic_ios<_CharT, _Traits> __ios_type;

  // Starts every input operation: checks the state, flushes the tied
  // stream and skips leading white space (1 byte).
  class TORVEL_EXPORT sentry {
  public:
    explicit sentry(basic_istream& is, bool noskipws = false);
    explicit operator bool() const;

    bool ok;
  };

  explicit basic_istream(__streambuf_type* sb);
  basic_istream();
  virtual ~basic_istream();

  basic_istream& operator>>(basic_istream& (*f)(basic_istream&));
  basic_istream& operator>>(__streambuf_type* out);

  streamsize gcount() const;
  int_type get();
  basic_istream& get(char_type& c);
  basic_istream& get(char_type* s, streamsize n, char_type delim);
  basic_istream& get(char_type* s, streamsize n);
  basic_istream& get(__streambuf_type& out, char_type delim);
  basic_istream& get(__streambuf_type& out);
  basic_istream& getline(char_type* s, streamsize n, char_type delim);
  basic_istream& getline(char_type* s, streamsize n);
  basic_istream& ignore();
  basic_istream& ignore(streamsize n);
  basic_istream& ignore(streamsize n, int_type delim);
  int_type peek();
  basic_istream& read(char_type* s, streamsize n);
  streamsize readsome(char_type* s, streamsize n);
  basic_istream& putback(char_type c);
  basic_istream& unget();
  int sync();
  pos_type tellg();
  basic_istream& seekg(pos_type pos);
  basic_istream& seekg(off_type off, _Ios_Seekdir dir);

  // Arithmetic extraction: the scanner collects the characters of a number
  // into text, the host's strtoll, strtoull or strtod converts that.
  basic_istream& operator>>(bool& v);
  basic_istream& operator>>(short& v);
  basic_istream& operator>>(unsigned short& v);
  basic_istream& operator>>(int& v);
  basic_istream& operator>>(unsigned int& v);
  basic_istream& operator>>(long& v);
  basic_istream& operator>>(unsigned long& v);
  basic_istream& operator>>(long long& v);
  basic_istream& operator>>(unsigned long long& v);
  basic_istream& operator>>(float& v);
  basic_istream& operator>>(double& v);
  basic_istream& operator>>(long double& v);
  basic_istream& operator>>(void*& v);

  template<typename _ValueT> basic_istream& _M_extract(_ValueT& v);
  // Reads the text of a number into buf (len bytes, NUL included); returns
  // its base, or 0 when no digit was taken.
  int read_number(char* buf, int len, bool is_float);

  streamsize extracted_count;
};

template<typename _CharT, typename _Traits>
class TORVEL_EXPORT basic_iostream : public basic_istream<_CharT, _Traits>,
                                     public basic_ostream<_CharT, _Traits> {
public:
  typedef basic_streambuf<_CharT, _Traits> __streambuf_type;

  explicit basic_iostream(__streambuf_type* sb);
  basic_iostream();
  virtual ~basic_iostream();
};

// Converted by their own code, not by the integer template.
template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(bool& v);
template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(float& v);
template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(double& v);
template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(long double& v);
template<> template<> basic_istream<char>& basic_istream<char>::_M_extract(void*& v);

extern template class basic_istream<char>;
extern template class basic_iostream<char>;
extern template istream& istream::_M_extract(short&);
extern template istream& istream::_M_extract(unsigned short&);
extern template istream& istream::_M_extract(int&);
extern template istream& istream::_M_extract(unsigned int&);
extern template istream& istream::_M_extract(long&);
extern template istream& istream::_M_extract(unsigned long&);
extern template istream& istream::_M_extract(long long&);
extern template istream& istream::_M_extract(unsigned long long&);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(istream) == 144, "istream");
static_assert(__builtin_offsetof(istream, extracted_count) == 4, "istream::extracted_count");
#pragma GCC diagnostic pop
static_assert(sizeof(istream::sentry) == 1, "istream::sentry");
static_assert(sizeof(iostream) == 148, "iostream");

// Single characters, C strings (at most width - 1 characters when a width
// is set) and the white-space skipper.
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_istream<_CharT, _Traits>& operator>>(basic_istream<_CharT, _Traits>& in, _CharT& c);
template<typename _Traits>
TORVEL_EXPORT basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, unsigned char& c);
template<typename _Traits>
TORVEL_EXPORT basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, signed char& c);
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_istream<_CharT, _Traits>& operator>>(basic_istream<_CharT, _Traits>& in, _CharT* s);
template<typename _Traits>
TORVEL_EXPORT basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, unsigned char* s);
template<typename _Traits>
TORVEL_EXPORT basic_istream<char, _Traits>& operator>>(basic_istream<char, _Traits>& in, signed char* s);
template<typename _CharT, typename _Traits>
TORVEL_EXPORT basic_istream<_CharT, _Traits>& ws(basic_istream<_CharT, _Traits>& in);

extern template istream& operator>>(istream&, char&);
extern template istream& operator>>(istream&, unsigned char&);
extern template istream& operator>>(istream&, signed char&);
extern template istream& operator>>(istream&, char*);
extern template istream& operator>>(istream&, unsigned char*);
extern template istream& operator>>(istream&, signed char*);
extern template istream& ws(istream&);

}

#endif
