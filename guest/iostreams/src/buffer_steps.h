// The stream buffer's get and put steps as the stream operations perform
// them inline: through the area pointers, falling back on the virtual
// functions only when an area is exhausted. Characters travel as their
// byte values 0..255, so that 0xff is never taken for end of file.
#ifndef TORVEL_BUFFER_STEPS_H
#define TORVEL_BUFFER_STEPS_H

#include "basic_ios.h"
#include "streambuf.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

typedef std::basic_streambuf<char> buffer;

const int end_of_file = -1;

inline int byte_value(char c) { return static_cast<unsigned char>(c); }

inline int peek_char(buffer* b) {
  if (b->get_next < b->get_end) return byte_value(*b->get_next);
  return b->underflow();
}

inline int take_char(buffer* b) {
  if (b->get_next < b->get_end) return byte_value(*b->get_next++);
  return b->uflow();
}

inline int next_char(buffer* b) {
  if (b->get_next < b->get_end) {
    ++b->get_next;
    if (b->get_next < b->get_end) return byte_value(*b->get_next);
    return b->underflow();
  }
  if (b->uflow() == end_of_file) return end_of_file;
  if (b->get_next < b->get_end) return byte_value(*b->get_next);
  return b->underflow();
}

// Consumes the character just looked at; the result of uflow is of no
// further interest.
inline void skip_char(buffer* b) {
  if (b->get_next < b->get_end) ++b->get_next;
  else b->uflow();
}

inline int put_char(buffer* b, char c) {
  if (b->put_next < b->put_end) {
    *b->put_next++ = c;
    return byte_value(c);
  }
  return b->overflow(byte_value(c));
}

// White space as the streams see it: tab, line feed, vertical tab, form
// feed, carriage return and space; nothing at 0x80 and above.
inline bool is_white_space(int c) { return c == ' ' || (c >= 0x09 && c <= 0x0d); }

// A stream's flush: its buffer's sync, badbit when that fails. Used by
// flush(), endl and std::flush, and by both sentries for a tied stream.
template<typename _CharT, typename _Traits>
inline void sync_stream_buffer(std::basic_ios<_CharT, _Traits>& ios) {
  if (ios.stream_buffer != 0 && ios.stream_buffer->sync() == end_of_file) ios.setstate(std::ios_base::badbit);
}

}

#endif
