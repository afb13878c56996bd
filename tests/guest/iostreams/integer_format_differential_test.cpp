// The integer inserters against the host's snprintf: for every combination
// of base, showbase, showpos and uppercase, every inserter type and a large
// set of values (the type limits, every power of two, eight, ten and sixteen
// and its neighbours, and pseudo-random values of every bit length), the
// text a stream writes must be the text the printf format built from the
// flags gives. A second pass crosses the flags with widths, fills and every
// adjustment for a smaller set of values, the reference padding the
// snprintf text by the padding rule.
#include "check.h"
#include "c_functions.h"
#include "ostream.h"

namespace {

using std::ios_base;

// A put area that is emptied before every insertion.
class text_sink : public std::basic_streambuf<char> {
public:
  text_sink() { reset(); }
  void reset() { setp(text_, text_ + sizeof text_ - 1); }
  const char* text() {
    *put_next = '\0';
    return text_;
  }

private:
  char text_[512];
};

// The inserter types, and how each reaches the formatting: the type it is
// widened to and the bits it keeps.
enum kind { k_short, k_ushort, k_int, k_uint, k_long, k_ulong, k_llong, k_ullong, kind_count };
const char* const kind_names[kind_count] = {"short", "unsigned short", "int", "unsigned int",
                                             "long", "unsigned long", "long long", "unsigned long long"};

// A value as its type holds it, kept as the 64-bit pattern of that type's
// bits (sign-extended for the signed types).
long long value_of(kind k, unsigned long long bits) {
  switch (k) {
    case k_short: return static_cast<short>(bits);
    case k_ushort: return static_cast<unsigned short>(bits);
    case k_int:
    case k_long: return static_cast<int>(bits);
    case k_uint:
    case k_ulong: return static_cast<unsigned int>(bits);
    default: return static_cast<long long>(bits);
  }
}

void insert(std::ostream& out, kind k, long long v) {
  switch (k) {
    case k_short: out << static_cast<short>(v); break;
    case k_ushort: out << static_cast<unsigned short>(v); break;
    case k_int: out << static_cast<int>(v); break;
    case k_uint: out << static_cast<unsigned int>(v); break;
    case k_long: out << static_cast<long>(v); break;
    case k_ulong: out << static_cast<unsigned long>(v); break;
    case k_llong: out << v; break;
    default: out << static_cast<unsigned long long>(v); break;
  }
}

// The reference: the printf format the flags ask for, on the value widened
// the way each inserter widens it, then the split point after a sign or a
// 0x prefix.
int reference_text(char* text, int flags, kind k, long long v) {
  int base = flags & ios_base::basefield;
  bool oct_or_hex = base == ios_base::oct || base == ios_base::hex;
  bool is_signed;
  unsigned long long pattern;
  switch (k) {
    case k_short:
      // In oct or hex a short goes out as its 16 bits, else sign-extended.
      is_signed = !oct_or_hex;
      pattern = oct_or_hex ? static_cast<unsigned short>(v) : static_cast<unsigned long>(static_cast<long>(v));
      break;
    case k_int:
    case k_long:
      is_signed = true;
      pattern = static_cast<unsigned long>(static_cast<long>(v));
      break;
    case k_llong:
      is_signed = true;
      pattern = static_cast<unsigned long long>(v);
      break;
    default:
      is_signed = false;
      pattern = static_cast<unsigned long long>(v);
      break;
  }
  char format[8];
  int f = 0;
  format[f++] = '%';
  if (oct_or_hex) {
    if (flags & ios_base::showbase) format[f++] = '#';
    format[f++] = 'l';
    format[f++] = 'l';
    format[f++] = base == ios_base::oct ? 'o' : (flags & ios_base::uppercase) ? 'X' : 'x';
    format[f] = '\0';
    snprintf(text, 96, format, pattern);
  } else if (is_signed) {
    if (flags & ios_base::showpos) format[f++] = '+';
    format[f++] = 'l';
    format[f++] = 'l';
    format[f++] = 'd';
    format[f] = '\0';
    long long wide = (k == k_llong) ? v : static_cast<long>(v);
    snprintf(text, 96, format, wide);
  } else {
    snprintf(text, 96, "%llu", pattern);
  }
  int split = (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (text[split] == '0' && (text[split + 1] == 'x' || text[split + 1] == 'X')) split += 2;
  return split;
}

// The padding rule on the reference text.
void reference_padded(char* out, const char* text, int split, int flags, int width, char fill) {
  int n = static_cast<int>(strlen(text));
  int pad = width - n;
  if (pad <= 0) {
    memcpy(out, text, n + 1);
    return;
  }
  int adjust = flags & ios_base::adjustfield;
  int head = adjust == ios_base::internal ? split : 0;
  char* o = out;
  if (adjust == ios_base::left) {
    memcpy(o, text, n);
    o += n;
    memset(o, fill, pad);
    o += pad;
  } else {
    memcpy(o, text, head);
    o += head;
    memset(o, fill, pad);
    o += pad;
    memcpy(o, text + head, n - head);
    o += n - head;
  }
  *o = '\0';
}

// Values for a type: its limits, powers of 2, 8, 10 and 16 with their
// neighbours and negatives, and random patterns of every bit length.
int values_for(kind k, long long* values, int room) {
  int count = 0;
  auto add = [&](unsigned long long bits) {
    if (count < room) values[count++] = value_of(k, bits);
  };
  add(0);
  add(~0ull);
  add(0x7fffffffffffffffull);
  add(0x8000000000000000ull);
  add(0x7fffffffull);
  add(0x80000000ull);
  add(0xffffffffull);
  add(0x7fff);
  add(0x8000);
  add(0xffff);
  for (unsigned long long p = 1; p != 0; p <<= 1) {
    add(p);
    add(p - 1);
    add(p + 1);
    add(0 - p);
  }
  const unsigned long long bases[] = {8, 10, 16};
  for (unsigned long long b : bases) {
    for (unsigned long long p = 1; p <= ~0ull / b; p *= b) {
      add(p * b - 1);
      add(p * b);
      add(p * b + 1);
      add(0 - p * b);
    }
  }
  unsigned long long state = 0x2545f4914f6cdd1dull;
  for (int bits = 1; bits <= 64; ++bits) {
    for (int i = 0; i < 12; ++i) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      unsigned long long v = bits == 64 ? state : state & ((1ull << bits) - 1);
      add(v);
      add(0 - v);
    }
  }
  return count;
}

// Base, showbase, showpos and uppercase: every combination of the four
// basefield-related bits (none, dec, oct, hex and the mixed ones) and the
// three modifiers.
const int base_choices[] = {0,
                            ios_base::dec,
                            ios_base::oct,
                            ios_base::hex,
                            ios_base::dec | ios_base::oct,
                            ios_base::dec | ios_base::hex,
                            ios_base::oct | ios_base::hex,
                            ios_base::dec | ios_base::oct | ios_base::hex};

int format_flags(int i) {
  int flags = base_choices[i % 8];
  if (i & 8) flags |= ios_base::showbase;
  if (i & 16) flags |= ios_base::showpos;
  if (i & 32) flags |= ios_base::uppercase;
  return flags;
}
const int format_combinations = 64;

const int adjust_choices[] = {0,
                              ios_base::left,
                              ios_base::right,
                              ios_base::internal,
                              ios_base::left | ios_base::right,
                              ios_base::left | ios_base::internal,
                              ios_base::right | ios_base::internal,
                              ios_base::left | ios_base::right | ios_base::internal};
const int widths[] = {0, 1, 3, 9, 21, 70, 150};
const char fills[] = {0, '*', '0'};  // 0: a space

long mismatches;

void compare(std::ostream& out, text_sink& sink, kind k, long long v, int flags, int width, char fill) {
  sink.reset();
  out.flags(ios_base::fmtflags(flags));
  out.width(width);
  insert(out, k, v);
  char text[96], want[256];
  int split = reference_text(text, flags, k, v);
  reference_padded(want, text, split, flags, width, fill == 0 ? ' ' : fill);
  const char* got = sink.text();
  if (strcmp(got, want) != 0 || out.width() != 0 || out.rdstate() != 0) {
    if (++mismatches <= 20) {
      char what[160];
      snprintf(what, sizeof what, "%s %lld, flags %#x, width %d, fill %d", kind_names[k], v, flags, width, fill);
      check::fail_texts(__FILE__, __LINE__, what, got, want);
    }
  }
}

long long values[2100];

void every_format_and_value() {
  text_sink sink;
  std::ostream out(&sink);
  for (int k = 0; k < kind_count; ++k) {
    int count = values_for(kind(k), values, 2100);
    CHECK(count > 2000);
    for (int f = 0; f < format_combinations; ++f)
      for (int i = 0; i < count; ++i) compare(out, sink, kind(k), values[i], format_flags(f), 0, 0);
  }
}

// Width, fill and adjustment for each format, on values that start with a
// sign, a 0x prefix, a lone zero or a plain digit.
void every_padding() {
  text_sink sink;
  std::ostream out(&sink);
  const unsigned long long bits[] = {0, 1, 42, 255, ~0ull, 0x8000000000000000ull, 0x7fffffffull, 0xfffffff6ull};
  for (int k = 0; k < kind_count; ++k)
    for (int f = 0; f < format_combinations; ++f)
      for (int a = 0; a < 8; ++a)
        for (int width : widths)
          for (char fill : fills) {
            if (fill != 0) out.fill(fill);
            else out.fill(' ');
            for (unsigned long long b : bits)
              compare(out, sink, kind(k), value_of(kind(k), b), format_flags(f) | adjust_choices[a], width, fill);
          }
}

// The fill never set at all: the stream's own default, a space.
void unset_fill() {
  text_sink sink;
  std::ostream out(&sink);
  compare(out, sink, k_int, -42, ios_base::internal, 8, 0);
  compare(out, sink, k_ulong, 0xff, ios_base::hex | ios_base::showbase | ios_base::internal, 9, 0);
}

}

int main() {
  check::set_case("every format and value");
  every_format_and_value();
  check::set_case("width, fill and adjustment");
  every_padding();
  check::set_case("the default fill");
  unset_fill();
  if (mismatches > 20) {
    char what[64];
    snprintf(what, sizeof what, "%ld mismatches in all", mismatches);
    check::fail(__FILE__, __LINE__, what);
  }
  return check::finish();
}
