// The numeric inserters and the padding rule: formats, widening of the
// narrower types, width, fill and adjustment, chunked padding and short
// writes.
#include "check.h"
#include "script_buffer.h"

namespace {

using std::ios_base;

struct format_case {
  const char* name;
  int flags;  // replaces the format flags when not 0
  int width;
  int precision;
  char fill;  // 0: the fill is left unset
  void (*insert)(std::ostream&);
  const char* want;
};

void i42(std::ostream& o) { o << 42; }
void i255(std::ostream& o) { o << 255; }
void i0(std::ostream& o) { o << 0; }
void i8(std::ostream& o) { o << 8; }
void i5(std::ostream& o) { o << 5; }
void neg_int(std::ostream& o) { o << -1; }
void neg_long_long(std::ostream& o) { o << -1LL; }
void neg_short(std::ostream& o) { o << static_cast<short>(-1); }
void neg_short_dec(std::ostream& o) { o << static_cast<short>(-7); }
void neg_long(std::ostream& o) { o << -1L; }
void u5(std::ostream& o) { o << 5u; }
void big_unsigned(std::ostream& o) { o << 4294967295u; }
void big_ull(std::ostream& o) { o << 18446744073709551615ull; }
void ushort_max(std::ostream& o) { o << static_cast<unsigned short>(65535); }
void pi(std::ostream& o) { o << 3.14159; }
void tenth_float(std::ostream& o) { o << 0.1f; }
void ld(std::ostream& o) { o << static_cast<long double>(2.5); }
void neg_double(std::ostream& o) { o << -2.5; }
void yes(std::ostream& o) { o << true; }
void no(std::ostream& o) { o << false; }
void pointer(std::ostream& o) { o << reinterpret_cast<const void*>(0x1234); }
void null_pointer(std::ostream& o) { o << static_cast<const void*>(0); }

const int hex = ios_base::hex, oct = ios_base::oct, dec = ios_base::dec;
const int showbase = ios_base::showbase, showpos = ios_base::showpos, upper = ios_base::uppercase;
const int left = ios_base::left, right = ios_base::right, internal = ios_base::internal;
const int fixed = ios_base::fixed, sci = ios_base::scientific, boolalpha = ios_base::boolalpha;

const format_case format_cases[] = {
    {"right by default", 0, 6, 6, '*', i42, "****42"},
    {"right", right | dec, 6, 6, '*', i42, "****42"},
    {"left", left | dec, 6, 6, '*', i42, "42****"},
    {"internal with showpos", internal | showpos | dec, 7, 6, '*', i42, "+****42"},
    {"internal with showpos, width 6", internal | showpos | dec, 6, 6, '*', i42, "+***42"},
    {"internal hex showbase", internal | hex | showbase, 8, 6, '0', i255, "0x0000ff"},
    {"internal hex showbase uppercase", internal | hex | showbase | upper, 8, 6, '0', i255, "0X0000FF"},
    {"hex showbase of 0", hex | showbase, 0, 6, 0, i0, "0"},
    {"oct showbase", oct | showbase, 0, 6, 0, i8, "010"},
    {"int -1 hex", hex, 0, 6, 0, neg_int, "ffffffff"},
    {"int -1 oct", oct, 0, 6, 0, neg_int, "37777777777"},
    {"long -1 hex", hex, 0, 6, 0, neg_long, "ffffffff"},
    {"long long -1 hex", hex, 0, 6, 0, neg_long_long, "ffffffffffffffff"},
    {"short -1 hex", hex, 0, 6, 0, neg_short, "ffff"},
    {"short -7 decimal", dec, 0, 6, 0, neg_short_dec, "-7"},
    {"unsigned 5 showpos", showpos | dec, 0, 6, 0, u5, "5"},
    {"int 5 showpos", showpos | dec, 0, 6, 0, i5, "+5"},
    {"hex and oct set: decimal", hex | oct, 0, 6, 0, i255, "255"},
    {"no base bit: decimal", showpos, 0, 6, 0, i255, "+255"},
    {"unsigned max", dec, 0, 6, 0, big_unsigned, "4294967295"},
    {"unsigned long long max", dec, 0, 6, 0, big_ull, "18446744073709551615"},
    {"unsigned short", hex, 0, 6, 0, ushort_max, "ffff"},
    {"width shorter than text", dec, 1, 6, '*', i255, "255"},
    {"double default", 0, 0, 6, 0, pi, "3.14159"},
    {"double fixed precision 2", fixed, 0, 2, 0, pi, "3.14"},
    {"double scientific uppercase", sci | upper, 0, 6, 0, pi, "3.141590E+00"},
    {"double both floatfield bits", fixed | sci, 0, 3, 0, pi, "3.14"},
    {"precision -1 is 6", fixed, 0, -1, 0, pi, "3.141590"},
    {"showpoint showpos", ios_base::showpoint | showpos, 0, 3, 0, pi, "+3.14"},
    {"float widened", 0, 0, 6, 0, tenth_float, "0.1"},
    {"long double as double", fixed, 0, 1, 0, ld, "2.5"},
    {"internal negative double", internal, 7, 6, '0', neg_double, "-0002.5"},
    {"showbase ignored by doubles", showbase | hex, 0, 6, 0, pi, "3.14159"},
    {"bool as number", 0, 0, 6, 0, yes, "1"},
    {"boolalpha width 7", boolalpha, 7, 6, 0, yes, "   true"},
    {"boolalpha internal like right", boolalpha | internal, 7, 6, '.', no, "..false"},
    {"boolalpha left", boolalpha | left, 7, 6, '.', no, "false.."},
    {"pointer internal", internal, 10, 6, '0', pointer, "0x00001234"},
    {"pointer uppercase showbase ignored", upper | showbase, 0, 6, 0, pointer, "0x1234"},
    {"null pointer", 0, 0, 6, 0, null_pointer, "0x0"},
};

void check_formats() {
  for (const format_case& c : format_cases) {
    check::set_case(c.name);
    script_buffer buffer("", script_buffer::areas);
    std::ostream out(&buffer);
    if (c.flags != 0) out.flags(ios_base::fmtflags(c.flags));
    out.width(c.width);
    out.precision(c.precision);
    if (c.fill != 0) out.fill(c.fill);
    c.insert(out);
    CHECK_TEXT(buffer.written(), c.want);
    CHECK_EQ(out.width(), 0);
    CHECK_EQ(out.rdstate(), 0);
  }
}

void check_long_texts() {
  check::set_case("precision 1000, fixed, 1e300: cut at 399 characters");
  script_buffer buffer("", script_buffer::areas);
  std::ostream out(&buffer);
  out.flags(ios_base::fixed);
  out.precision(1000);
  out << 1e300;
  CHECK_EQ(buffer.written_count(), 399);
  CHECK_EQ(memcmp(buffer.written(), "10000000000000000525", 20), 0);

  check::set_case("precision 1000 capped at 300");
  script_buffer capped("", script_buffer::areas);
  std::ostream capped_out(&capped);
  capped_out.flags(ios_base::fixed);
  capped_out.precision(1000);
  capped_out << 0.5;
  CHECK_EQ(capped.written_count(), 302);
}

// Padding goes out in blocks of at most 64 through xsputn.
void check_chunks() {
  check::set_case("width 200, right: head, four chunks, text");
  script_buffer buffer("", script_buffer::areas);
  std::ostream out(&buffer);
  out.width(200);
  out.fill('-');
  out << 7;
  CHECK_EQ(buffer.written_count(), 200);
  CHECK_EQ(buffer.written()[198], '-');
  CHECK_EQ(buffer.written()[199], '7');
  CHECK_EQ(buffer.xsputn_calls, 1 + 4 + 1);

  check::set_case("width 200, left: text, four chunks");
  script_buffer left_buffer("", script_buffer::areas);
  std::ostream left_out(&left_buffer);
  left_out.flags(ios_base::left);
  left_out.width(200);
  left_out << 7;
  CHECK_EQ(left_buffer.xsputn_calls, 1 + 4);
  CHECK_EQ(left_buffer.written()[0], '7');

  check::set_case("short write: badbit, no further chunks, text still written");
  script_buffer short_buffer("", script_buffer::trickle);
  short_buffer.output_limit = 70;
  std::ostream short_out(&short_buffer);
  short_out.width(200);
  short_out << 7;
  CHECK_EQ(short_out.rdstate(), ios_base::badbit);
  CHECK_EQ(short_buffer.xsputn_calls, 1 + 2 + 1);
  CHECK_EQ(short_out.width(), 0);

  check::set_case("short write of left text: badbit before any padding");
  script_buffer none("", script_buffer::trickle);
  none.output_limit = 0;
  std::ostream none_out(&none);
  none_out.flags(ios_base::left);
  none_out.width(10);
  none_out << 12345;
  CHECK_EQ(none_out.rdstate(), ios_base::badbit);
  CHECK_EQ(none.xsputn_calls, 1);
}

void check_failed_sentry_keeps_width() {
  check::set_case("failed sentry: nothing written, width kept");
  script_buffer buffer("", script_buffer::areas);
  std::ostream out(&buffer);
  out.width(5);
  out.setstate(ios_base::failbit);
  out << 42 << 1.5 << true << static_cast<const void*>(0);
  CHECK_TEXT(buffer.written(), "");
  CHECK_EQ(out.width(), 5);
}

}

int main() {
  check_formats();
  check_long_texts();
  check_chunks();
  check_failed_sentry_keeps_width();
  return check::finish();
}
