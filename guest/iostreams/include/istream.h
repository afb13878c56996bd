// std::istream (144 bytes) and std::iostream (148 bytes) of the guest ABI:
// the count of the last unformatted input, the input sentry, and the
// unformatted input and positioning members.
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

extern template class basic_istream<char>;
extern template class basic_iostream<char>;

}

#endif
