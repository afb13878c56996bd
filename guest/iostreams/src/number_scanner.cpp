// std::istream::read_number: collects the characters of a number from the
// stream's buffer into a text for the host's conversion functions. A
// character leaves the buffer only once it is accepted; the first one that
// does not fit the grammar stays for the next read. Always the "C" locale:
// no grouping, '.' as the decimal point, no words (inf, nan) and no
// hexadecimal floating forms.
#include "istream.h"

#include "buffer_steps.h"

namespace {

using std::ios_base;

inline bool is_decimal_digit(int c) { return c >= '0' && c <= '9'; }

inline bool is_digit_of(int c, int base) {
  if (base == 8) return c >= '0' && c <= '7';
  if (base == 16) return is_decimal_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  return is_decimal_digit(c);
}

inline int base_from_flags(int flags) {
  if (flags & ios_base::hex) return 16;
  if (flags & ios_base::oct) return 8;
  if (flags & ios_base::dec) return 10;
  return 0;
}

// The text being built: every store keeps one byte free for the NUL, so the
// scanner never writes past the caller's len bytes, however small.
struct number_text {
  char* buf;
  int len;
  int pos;

  bool room(int needed = 1) const { return pos + needed < len; }
  void put(int c) { buf[pos++] = static_cast<char>(c); }
};

}

namespace std {

template<typename _CharT, typename _Traits>
int basic_istream<_CharT, _Traits>::read_number(char* buf, int len, bool is_float) {
  // Nothing fits, not even the terminating NUL.
  if (len < 1) return 0;
  __ios_type& ios = *this;
  __streambuf_type* in = ios.stream_buffer;
  buf[0] = '\0';
  if (in == 0) return 0;

  number_text text = {buf, len, 0};
  int base = is_float ? 10 : base_from_flags(ios.format_flags);
  int digits = 0;

  int c = torvel_ios::peek_char(in);
  if ((c == '-' || c == '+') && text.room()) {
    text.put(c);
    c = torvel_ios::next_char(in);
  }

  // A leading 0 decides an undetermined base (octal, or hexadecimal after
  // 0x) and may introduce the 0x of a hexadecimal number.
  if (!is_float && (base == 0 || base == 16) && c == '0' && text.room()) {
    text.put(c);
    c = torvel_ios::next_char(in);
    if ((c == 'x' || c == 'X') && text.room()) {
      text.put(c);
      c = torvel_ios::next_char(in);
      base = 16;
    } else {
      digits = 1;
      if (base == 0) base = 8;
    }
  } else if (base == 0) {
    base = 10;
  }

  while (c != torvel_ios::end_of_file && is_digit_of(c, base) && text.room()) {
    text.put(c);
    ++digits;
    c = torvel_ios::next_char(in);
  }

  if (is_float) {
    if (c == '.' && text.room()) {
      text.put(c);
      c = torvel_ios::next_char(in);
      while (is_decimal_digit(c) && text.room()) {
        text.put(c);
        ++digits;
        c = torvel_ios::next_char(in);
      }
    }
    // An exponent needs room for its letter, a sign and one digit. Without
    // digits it stays in the text, where the conversion ignores it.
    if (digits > 0 && (c == 'e' || c == 'E') && text.room(3)) {
      text.put(c);
      c = torvel_ios::next_char(in);
      if (c == '-' || c == '+') {
        text.put(c);
        c = torvel_ios::next_char(in);
      }
      while (is_decimal_digit(c) && text.room()) {
        text.put(c);
        c = torvel_ios::next_char(in);
      }
    }
  }

  buf[text.pos] = '\0';
  // Stored as is: the exception mask is looked at by the next checked
  // change of this stream's state, not here.
  if (c == torvel_ios::end_of_file) ios.stream_state = ios_base::iostate(ios.stream_state | ios_base::eofbit);
  return digits > 0 ? base : 0;
}

template int basic_istream<char>::read_number(char*, int, bool);

}
