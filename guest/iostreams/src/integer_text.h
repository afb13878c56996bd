// The text of an integer as the inserters show it: decimal with a sign,
// octal or hexadecimal of the value's bit pattern, with the prefixes
// showbase asks for. The digits are produced here rather than by the host's
// snprintf; the text is exactly the one the printf formats "%lld", "%+lld",
// "%llu", "%llo", "%#llo", "%llx", "%#llx", "%llX" and "%#llX" give.
#ifndef TORVEL_INTEGER_TEXT_H
#define TORVEL_INTEGER_TEXT_H

#include "ios_base.h"

namespace torvel_ios __attribute__((visibility("hidden"))) {

// An integer after widening to 64 bits: everything its text depends on.
struct integer_value {
  unsigned long long pattern;  // the bits oct and hex show, and an unsigned value
  long long as_signed;         // a signed type's value, for decimal
  bool is_signed;
};

// The digits, written backwards from the end of a buffer. Inline, like
// integer_text below: each integer inserter carries its own copy.
namespace integer_digits {

using std::ios_base;

const char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

const char lower_hex[] = "0123456789abcdef";
const char upper_hex[] = "0123456789ABCDEF";

inline char* two_digits(char* end, unsigned pair) {
  end -= 2;
  end[0] = digit_pairs[2 * pair];
  end[1] = digit_pairs[2 * pair + 1];
  return end;
}

// Digits of a 32-bit value, two at a time (the compiler turns the constant
// divisions into multiplications).
inline char* decimal32(char* end, unsigned v) {
  while (v >= 100) {
    unsigned pair = v % 100;
    v /= 100;
    end = two_digits(end, pair);
  }
  if (v >= 10) return two_digits(end, v);
  *--end = static_cast<char>('0' + v);
  return end;
}

// (high * 2^32 + low) / divisor for high < divisor, where the quotient fits
// in 32 bits: one divide instruction, without the library's 64-bit
// division routine.
inline unsigned divide_wide(unsigned high, unsigned low, unsigned divisor, unsigned& remainder) {
  unsigned quotient;
  __asm__("divl %4" : "=a"(quotient), "=d"(remainder) : "a"(low), "d"(high), "rm"(divisor));
  return quotient;
}

// Values above 32 bits lose nine digits at a time until the rest fits.
inline char* decimal(char* end, unsigned long long v) {
  const unsigned billion = 1000000000u;
  unsigned high = static_cast<unsigned>(v >> 32);
  unsigned low = static_cast<unsigned>(v);
  while (high != 0) {
    unsigned chunk;
    unsigned high_quotient = high / billion;
    low = divide_wide(high % billion, low, billion, chunk);
    high = high_quotient;
    for (int i = 0; i < 4; ++i) {
      end = two_digits(end, chunk % 100);
      chunk /= 100;
    }
    *--end = static_cast<char>('0' + chunk);
  }
  return decimal32(end, low);
}

inline char* octal(char* end, unsigned long long v) {
  if ((v >> 32) == 0) {
    unsigned small = static_cast<unsigned>(v);
    do {
      *--end = static_cast<char>('0' + (small & 7));
      small >>= 3;
    } while (small != 0);
    return end;
  }
  do {
    *--end = static_cast<char>('0' + (static_cast<unsigned>(v) & 7));
    v >>= 3;
  } while (v != 0);
  return end;
}

inline char* hexadecimal(char* end, unsigned long long v, const char* digits) {
  unsigned low = static_cast<unsigned>(v);
  unsigned high = static_cast<unsigned>(v >> 32);
  if (high != 0) {
    for (int i = 0; i < 8; ++i) {
      *--end = digits[low & 15];
      low >>= 4;
    }
    low = high;
  }
  do {
    *--end = digits[low & 15];
    low >>= 4;
  } while (low != 0);
  return end;
}

}

// Writes the text of v for the stream flags so that it ends just before end
// and returns where it begins; at most 24 characters. split receives the
// point internal adjustment pads at: after a sign or after a 0x or 0X
// prefix, else 0.
inline char* integer_text(char* end, int flags, const integer_value& v, int& split) {
  using namespace integer_digits;
  int base = flags & ios_base::basefield;
  char* text;
  split = 0;
  if (base == ios_base::oct) {
    text = octal(end, v.pattern);
    // The alternative form makes the first digit a zero; 0 stays "0".
    if ((flags & ios_base::showbase) && v.pattern != 0) *--text = '0';
  } else if (base == ios_base::hex) {
    bool upper = (flags & ios_base::uppercase) != 0;
    text = hexadecimal(end, v.pattern, upper ? upper_hex : lower_hex);
    // The alternative form prefixes 0x or 0X to every value but 0.
    if ((flags & ios_base::showbase) && v.pattern != 0) {
      *--text = upper ? 'X' : 'x';
      *--text = '0';
      split = 2;
    }
  } else if (v.is_signed) {
    bool negative = v.as_signed < 0;
    unsigned long long magnitude =
        negative ? 0 - static_cast<unsigned long long>(v.as_signed) : static_cast<unsigned long long>(v.as_signed);
    text = decimal(end, magnitude);
    if (negative) {
      *--text = '-';
      split = 1;
    } else if (flags & ios_base::showpos) {
      *--text = '+';
      split = 1;
    }
  } else {
    text = decimal(end, v.pattern);
  }
  return text;
}

}

#endif
