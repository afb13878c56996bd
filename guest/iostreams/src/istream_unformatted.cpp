// The unformatted input members of std::istream and its positioning. Each
// counts what it extracts in extracted_count (gcount()) and collects eofbit
// and failbit to apply them in one checked state change at the end.
#include "istream.h"

#include "buffer_steps.h"

namespace std {

namespace {

const int no_limit = 0x7fffffff;

void apply(basic_ios<char>& ios, int err) {
  if (err != 0) ios.setstate(ios_base::iostate(err));
}

bool same_byte(int c, char delim) { return c == torvel_ios::byte_value(delim); }

}

template<typename _CharT, typename _Traits>
typename basic_istream<_CharT, _Traits>::int_type basic_istream<_CharT, _Traits>::get() {
  extracted_count = 0;
  sentry guard(*this, true);
  __ios_type& ios = *this;
  if (guard.ok) {
    int c = torvel_ios::take_char(ios.stream_buffer);
    if (c != torvel_ios::end_of_file) {
      extracted_count = 1;
      return c;
    }
  }
  if (extracted_count == 0) ios.setstate(ios_base::iostate(ios_base::eofbit | ios_base::failbit));
  return torvel_ios::end_of_file;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::get(char_type& c) {
  int got = get();
  if (got != torvel_ios::end_of_file) c = static_cast<char_type>(got);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::get(char_type* s, streamsize n, char_type delim) {
  extracted_count = 0;
  sentry guard(*this, true);
  __ios_type& ios = *this;
  int err = 0;
  if (guard.ok) {
    __streambuf_type* in = ios.stream_buffer;
    int c = torvel_ios::peek_char(in);
    while (extracted_count + 1 < n && c != torvel_ios::end_of_file && !same_byte(c, delim)) {
      *s++ = static_cast<char_type>(c);
      ++extracted_count;
      c = torvel_ios::next_char(in);
    }
    if (c == torvel_ios::end_of_file) err = ios_base::eofbit;
  }
  if (n > 0) *s = 0;
  if (extracted_count == 0) err |= ios_base::failbit;
  apply(ios, err);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::get(char_type* s, streamsize n) {
  return get(s, n, '\n');
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::get(__streambuf_type& out, char_type delim) {
  extracted_count = 0;
  sentry guard(*this, true);
  __ios_type& ios = *this;
  int err = 0;
  if (guard.ok) {
    __streambuf_type* in = ios.stream_buffer;
    int c = torvel_ios::peek_char(in);
    while (c != torvel_ios::end_of_file && !same_byte(c, delim)) {
      if (torvel_ios::put_char(&out, static_cast<char>(c)) == torvel_ios::end_of_file) break;
      ++extracted_count;
      c = torvel_ios::next_char(in);
    }
    if (c == torvel_ios::end_of_file) err = ios_base::eofbit;
  }
  if (extracted_count == 0) err |= ios_base::failbit;
  apply(ios, err);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::get(__streambuf_type& out) {
  return get(out, '\n');
}

// The delimiter is extracted and counted but not stored; a line that
// exactly fills the buffer, followed by the delimiter, is not a failure.
template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::getline(char_type* s, streamsize n, char_type delim) {
  extracted_count = 0;
  sentry guard(*this, true);
  __ios_type& ios = *this;
  int err = 0;
  if (guard.ok) {
    __streambuf_type* in = ios.stream_buffer;
    int c = torvel_ios::peek_char(in);
    bool finished = false;
    while (extracted_count + 1 < n) {
      if (c == torvel_ios::end_of_file) {
        err = ios_base::eofbit;
        finished = true;
        break;
      }
      if (same_byte(c, delim)) {
        torvel_ios::take_char(in);
        ++extracted_count;
        finished = true;
        break;
      }
      *s++ = static_cast<char_type>(c);
      ++extracted_count;
      c = torvel_ios::next_char(in);
    }
    if (!finished) {
      if (c == torvel_ios::end_of_file) {
        err = ios_base::eofbit;
      } else if (same_byte(c, delim)) {
        torvel_ios::take_char(in);
        ++extracted_count;
      } else {
        err = ios_base::failbit;
      }
    }
  }
  if (n > 0) *s = 0;
  if (extracted_count == 0) err |= ios_base::failbit;
  apply(ios, err);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::getline(char_type* s, streamsize n) {
  return getline(s, n, '\n');
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::ignore() {
  return ignore(1, torvel_ios::end_of_file);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::ignore(streamsize n) {
  return ignore(n, torvel_ios::end_of_file);
}

// Never sets failbit. 0x7fffffff means no limit; a delimiter of -1 never
// matches a character.
template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::ignore(streamsize n, int_type delim) {
  extracted_count = 0;
  sentry guard(*this, true);
  if (n <= 0 || !guard.ok) return *this;
  __ios_type& ios = *this;
  __streambuf_type* in = ios.stream_buffer;
  int c = torvel_ios::peek_char(in);
  while ((n == no_limit || extracted_count < n) && c != torvel_ios::end_of_file && c != delim) {
    ++extracted_count;
    c = torvel_ios::next_char(in);
  }
  if (c == torvel_ios::end_of_file) {
    ios.setstate(ios_base::eofbit);
  } else if (c == delim && (n == no_limit || extracted_count < n)) {
    torvel_ios::take_char(in);
    ++extracted_count;
  }
  return *this;
}

template<typename _CharT, typename _Traits>
typename basic_istream<_CharT, _Traits>::int_type basic_istream<_CharT, _Traits>::peek() {
  extracted_count = 0;
  sentry guard(*this, true);
  if (!guard.ok) return torvel_ios::end_of_file;
  __ios_type& ios = *this;
  int c = torvel_ios::peek_char(ios.stream_buffer);
  if (c == torvel_ios::end_of_file) ios.setstate(ios_base::eofbit);
  return c;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::read(char_type* s, streamsize n) {
  extracted_count = 0;
  sentry guard(*this, true);
  if (guard.ok) {
    __ios_type& ios = *this;
    extracted_count = ios.stream_buffer->xsgetn(s, n);
    if (extracted_count != n) ios.setstate(ios_base::iostate(ios_base::eofbit | ios_base::failbit));
  }
  return *this;
}

template<typename _CharT, typename _Traits>
streamsize basic_istream<_CharT, _Traits>::readsome(char_type* s, streamsize n) {
  extracted_count = 0;
  sentry guard(*this, true);
  if (guard.ok) {
    __ios_type& ios = *this;
    __streambuf_type* in = ios.stream_buffer;
    streamsize available = in->get_end - in->get_next;
    if (available == 0) available = in->showmanyc();
    if (available > 0) extracted_count = in->xsgetn(s, available < n ? available : n);
    else if (available == -1) ios.setstate(ios_base::eofbit);
  }
  return extracted_count;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::putback(char_type c) {
  extracted_count = 0;
  __ios_type& ios = *this;
  ios.clear(ios_base::iostate(ios.stream_state & ~ios_base::eofbit));
  sentry guard(*this, true);
  if (guard.ok) {
    __streambuf_type* in = ios.stream_buffer;
    if (in == 0) ios.setstate(ios_base::badbit);
    else if (in->get_begin < in->get_next && in->get_next[-1] == c) --in->get_next;
    else if (in->pbackfail(torvel_ios::byte_value(c)) == torvel_ios::end_of_file) ios.setstate(ios_base::badbit);
  }
  return *this;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::unget() {
  extracted_count = 0;
  __ios_type& ios = *this;
  ios.clear(ios_base::iostate(ios.stream_state & ~ios_base::eofbit));
  sentry guard(*this, true);
  if (guard.ok) {
    __streambuf_type* in = ios.stream_buffer;
    if (in == 0) ios.setstate(ios_base::badbit);
    else if (in->get_begin < in->get_next) --in->get_next;
    else if (in->pbackfail(torvel_ios::end_of_file) == torvel_ios::end_of_file) ios.setstate(ios_base::badbit);
  }
  return *this;
}

template<typename _CharT, typename _Traits>
int basic_istream<_CharT, _Traits>::sync() {
  __ios_type& ios = *this;
  if (ios.stream_buffer == 0) return -1;
  if (ios.stream_buffer->sync() == -1) {
    ios.setstate(ios_base::badbit);
    return -1;
  }
  return 0;
}

template<typename _CharT, typename _Traits>
typename basic_istream<_CharT, _Traits>::pos_type basic_istream<_CharT, _Traits>::tellg() {
  __ios_type& ios = *this;
  if (ios.fail()) return pos_type(off_type(-1));
  return ios.stream_buffer->pubseekoff(0, ios_base::cur, ios_base::in);
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::seekg(pos_type pos) {
  __ios_type& ios = *this;
  ios.clear(ios_base::iostate(ios.stream_state & ~ios_base::eofbit));
  if (!ios.fail() && ios.stream_buffer->pubseekpos(pos, ios_base::in).offset == -1) ios.setstate(ios_base::failbit);
  return *this;
}

template<typename _CharT, typename _Traits>
basic_istream<_CharT, _Traits>& basic_istream<_CharT, _Traits>::seekg(off_type off, _Ios_Seekdir dir) {
  __ios_type& ios = *this;
  ios.clear(ios_base::iostate(ios.stream_state & ~ios_base::eofbit));
  if (!ios.fail() && ios.stream_buffer->pubseekoff(off, dir, ios_base::in).offset == -1)
    ios.setstate(ios_base::failbit);
  return *this;
}

template basic_istream<char>::int_type basic_istream<char>::get();
template basic_istream<char>& basic_istream<char>::get(char&);
template basic_istream<char>& basic_istream<char>::get(char*, streamsize, char);
template basic_istream<char>& basic_istream<char>::get(char*, streamsize);
template basic_istream<char>& basic_istream<char>::get(basic_streambuf<char>&, char);
template basic_istream<char>& basic_istream<char>::get(basic_streambuf<char>&);
template basic_istream<char>& basic_istream<char>::getline(char*, streamsize, char);
template basic_istream<char>& basic_istream<char>::getline(char*, streamsize);
template basic_istream<char>& basic_istream<char>::ignore();
template basic_istream<char>& basic_istream<char>::ignore(streamsize);
template basic_istream<char>& basic_istream<char>::ignore(streamsize, int);
template basic_istream<char>::int_type basic_istream<char>::peek();
template basic_istream<char>& basic_istream<char>::read(char*, streamsize);
template streamsize basic_istream<char>::readsome(char*, streamsize);
template basic_istream<char>& basic_istream<char>::putback(char);
template basic_istream<char>& basic_istream<char>::unget();
template int basic_istream<char>::sync();
template basic_istream<char>::pos_type basic_istream<char>::tellg();
template basic_istream<char>& basic_istream<char>::seekg(pos_type);
template basic_istream<char>& basic_istream<char>::seekg(off_type, _Ios_Seekdir);

}
