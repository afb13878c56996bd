// std::string on the streams. Characters are gathered in a 128-byte local
// batch and appended to the string a batch at a time, through libtorvelrt's
// members, reached by name. None of these touches gcount().
//
// The readers take characters one at a time through the buffer's steps,
// except where the character at hand lies in the get area: then the run of
// the area that belongs to the same word or line is taken at once. The
// batches, and so the appends, are the ones the character-by-character
// reading makes, and the buffer's virtual functions are called at the same
// moments: only when the area is exhausted.
#include "string_io.h"

#include "buffer_steps.h"
#include "c_library.h"
#include "string_fields.h"

namespace {

using std::ios_base;

const int batch_size = 128;

// Characters on their way into a string.
class batch {
public:
  explicit batch(std::string& target) : target_(target), used_(0) {}

  void add(int c) {
    chars_[used_++] = static_cast<char>(c);
    if (used_ == batch_size) flush();
  }
  // n characters, batched as n calls of add would batch them.
  void add_run(const char* s, std::streamsize n) {
    while (n > 0) {
      std::streamsize take = batch_size - used_;
      if (take > n) take = n;
      memcpy(chars_ + used_, s, take);
      used_ += take;
      s += take;
      n -= take;
      if (used_ == batch_size) flush();
    }
  }
  void flush() {
    if (used_ > 0) target_.append(chars_, used_);
    used_ = 0;
  }

private:
  std::string& target_;
  int used_;
  char chars_[batch_size];
};

// True when c, the character just looked at, is the one at the get area's
// next position, so that it and what follows it in the area can be taken
// directly from there.
inline bool at_hand_in_area(const torvel_ios::buffer* b, int c) {
  return b->get_next < b->get_end && torvel_ios::byte_value(*b->get_next) == c;
}

}

namespace std {

// A word up to the next white space or the end of the input, at most width
// characters when a width is set. The width is spent unless the sentry
// refused the stream; eofbit comes before failbit.
template<typename _CharT, typename _Traits, typename _Alloc>
basic_istream<_CharT, _Traits>& operator>>(basic_istream<_CharT, _Traits>& in,
                                           basic_string<_CharT, _Traits, _Alloc>& str) {
  basic_ios<_CharT, _Traits>& ios = in;
  typename basic_istream<_CharT, _Traits>::sentry guard(in, false);
  if (!guard.ok) {
    ios.setstate(ios_base::failbit);
    return in;
  }
  str.clear();
  streamsize limit = ios.field_width > 0 ? ios.field_width : 0x7fffffff;
  basic_streambuf<_CharT, _Traits>* buffer = ios.stream_buffer;
  batch pending(str);
  streamsize taken = 0;
  int c = torvel_ios::peek_char(buffer);
  while (taken < limit && c != torvel_ios::end_of_file && !torvel_ios::is_white_space(c)) {
    if (at_hand_in_area(buffer, c)) {
      // The word's characters in the area, up to white space, the area's
      // end or the limit; then the character after them, as the steps
      // below would look at it.
      const char* from = buffer->get_next;
      streamsize most = buffer->get_end - from;
      if (most > limit - taken) most = limit - taken;
      streamsize run = 1;
      while (run < most && !torvel_ios::is_white_space(torvel_ios::byte_value(from[run]))) ++run;
      pending.add_run(from, run);
      taken += run;
      buffer->get_next += run;
      c = torvel_ios::peek_char(buffer);
      continue;
    }
    pending.add(c);
    ++taken;
    c = torvel_ios::next_char(buffer);
  }
  pending.flush();
  if (c == torvel_ios::end_of_file) ios.setstate(ios_base::eofbit);
  ios.field_width = 0;
  if (taken == 0) ios.setstate(ios_base::failbit);
  return in;
}

// A line up to the delimiter, which is consumed and not stored; the
// delimiter is compared as a byte, so 0xff never matches the end of the
// input. An empty line is a success; the end of the input after at least
// one character sets eofbit only. No width applies.
template<typename _CharT, typename _Traits, typename _Alloc>
basic_istream<_CharT, _Traits>& getline(basic_istream<_CharT, _Traits>& in,
                                        basic_string<_CharT, _Traits, _Alloc>& str, _CharT delim) {
  basic_ios<_CharT, _Traits>& ios = in;
  typename basic_istream<_CharT, _Traits>::sentry guard(in, true);
  if (!guard.ok) {
    ios.setstate(ios_base::failbit);
    return in;
  }
  str.clear();
  basic_streambuf<_CharT, _Traits>* buffer = ios.stream_buffer;
  int c = torvel_ios::peek_char(buffer);
  if (c == torvel_ios::end_of_file) {
    ios.setstate(ios_base::iostate(ios_base::eofbit | ios_base::failbit));
    return in;
  }
  const int end = torvel_ios::byte_value(delim);
  batch pending(str);
  for (;;) {
    if (c == end) {
      pending.flush();
      torvel_ios::skip_char(buffer);
      return in;
    }
    if (c == torvel_ios::end_of_file) {
      pending.flush();
      ios.setstate(ios_base::eofbit);
      return in;
    }
    if (at_hand_in_area(buffer, c)) {
      // The line's characters in the area, up to the delimiter (never the
      // character at hand, which is not the delimiter) or the area's end.
      const char* from = buffer->get_next;
      streamsize held = buffer->get_end - from;
      const char* stop = static_cast<const char*>(memchr(from, end, held));
      streamsize run = stop != 0 ? stop - from : held;
      pending.add_run(from, run);
      buffer->get_next += run;
      c = torvel_ios::peek_char(buffer);
      continue;
    }
    pending.add(c);
    c = torvel_ios::next_char(buffer);
  }
}

template<typename _CharT, typename _Traits, typename _Alloc>
basic_istream<_CharT, _Traits>& getline(basic_istream<_CharT, _Traits>& in,
                                        basic_string<_CharT, _Traits, _Alloc>& str) {
  return getline(in, str, _CharT('\n'));
}

template<typename _CharT, typename _Traits, typename _Alloc>
basic_ostream<_CharT, _Traits>& operator<<(basic_ostream<_CharT, _Traits>& out,
                                           const basic_string<_CharT, _Traits, _Alloc>& str) {
  return __ostream_insert(out, torvel_ios::string_chars(str), static_cast<streamsize>(torvel_ios::string_length(str)));
}

template istream& operator>>(istream&, string&);
template istream& getline(istream&, string&, char);
template istream& getline(istream&, string&);
template ostream& operator<<(ostream&, const string&);

}
