// The text of an integer as the inserters show it: decimal with a sign,
// octal or hexadecimal of the value's bit pattern, with the prefixes
// showbase asks for. The digits are produced here rather than by the host's
// snprintf; the text is exactly the one the printf formats "%lld", "%+lld",
// "%llu", "%llo", "%#llo", "%llx", "%#llx", "%llX" and "%#llX" give.
#ifndef TORVEL_INTEGER_TEXT_H
#define TORVEL_INTEGER_TEXT_H

namespace torvel_ios __attribute__((visibility("hidden"))) {

// An integer after widening to 64 bits: everything its text depends on.
struct integer_value {
  unsigned long long pattern;  // the bits oct and hex show, and an unsigned value
  long long as_signed;         // a signed type's value, for decimal
  bool is_signed;
};

// Writes the text of v for the stream flags so that it ends just before end
// and returns where it begins; at most 24 characters. split receives the
// point internal adjustment pads at: after a sign or after a 0x or 0X
// prefix, else 0.
char* integer_text(char* end, int flags, const integer_value& v, int& split);

}

#endif
