// The arithmetic extractors of std::istream: the range table of every
// integer type (negative text wrapping into unsigned types, the saturated
// long long), the floating types through the double route, void* and both
// bool forms; a failed extraction leaves the variable as it was. Each case
// runs over a buffer with a get area and over one without.
#include "check.h"
#include "fatal_state.h"
#include "script_buffer.h"
#include "test_host.h"

namespace {

using std::ios_base;
const int good = 0, eof = ios_base::eofbit, fail = ios_base::failbit;
const int dec = ios_base::dec, hex = ios_base::hex, oct = ios_base::oct, none = 0;
const int skipws = ios_base::skipws, boolalpha = ios_base::boolalpha;
const int usual = skipws | dec;

// What a failed extraction must leave in the variable.
const int untouched = 77;

template<typename T> struct extract_case {
  const char* name;
  int flags;
  const char* input;
  T value;
  int state;
  const char* rest;
};

template<typename T, int n> void run_cases(const extract_case<T> (&cases)[n]) {
  for (script_buffer::mode mode : both_modes) {
    for (const extract_case<T>& c : cases) {
      check::set_case(c.name);
      script_buffer buffer(c.input, mode);
      std::istream in(&buffer);
      in.flags(ios_base::fmtflags(c.flags));
      T v = T(untouched);
      CHECK(&(in >> v) == &in);
      CHECK_EQ(v, c.value);
      CHECK_EQ(in.rdstate(), c.state);
      CHECK_TEXT(buffer.rest(), c.rest);
    }
  }
}

const extract_case<int> int_cases[] = {
    {"skips white space", usual, "  42 x", 42, good, " x"},
    {"without skipws", dec, "  42", untouched, fail, "  42"},
    {"number at end of file", usual, "42", 42, eof, ""},
    {"lone minus at end of file", usual, "-", untouched, fail | eof, ""},
    {"no digit", usual, "x1", untouched, fail, "x1"},
    {"only white space", usual, " \n ", untouched, fail | eof, ""},
    {"stops at a letter", usual, "12abc", 12, good, "abc"},
    {"plus sign", usual, "+7 ", 7, good, " "},
    {"smallest", usual, "-2147483648 ", -2147483647 - 1, good, " "},
    {"largest", usual, "2147483647 ", 2147483647, good, " "},
    {"one above the largest", usual, "2147483648 ", untouched, fail, " "},
    {"one below the smallest", usual, "-2147483649 ", untouched, fail, " "},
    {"beyond 64 bits", usual, "99999999999999999999 ", untouched, fail, " "},
    {"hex without prefix", skipws | hex, "ff ", 255, good, " "},
    {"hex with prefix", skipws | hex, "0xff ", 255, good, " "},
    {"negative hex", skipws | hex, "-0x10 ", -16, good, " "},
    {"hex beyond int", skipws | hex, "80000000 ", untouched, fail, " "},
    {"decimal stops at x", usual, "0xff", 0, good, "xff"},
    {"octal", skipws | oct, "777 ", 511, good, " "},
    {"no base: hex prefix", skipws, "0xff ", 255, good, " "},
    {"no base: octal", skipws, "010 ", 8, good, " "},
    {"no base: decimal", skipws, "10 ", 10, good, " "},
};

const extract_case<short> short_cases[] = {
    {"largest", usual, "32767 ", 32767, good, " "},
    {"smallest", usual, "-32768 ", -32768, good, " "},
    {"one above", usual, "32768 ", untouched, fail, " "},
    {"65536", usual, "65536 ", untouched, fail, " "},
    {"one below", usual, "-32769 ", untouched, fail, " "},
};

const extract_case<unsigned short> unsigned_short_cases[] = {
    {"largest", usual, "65535 ", 65535, good, " "},
    {"65536", usual, "65536 ", untouched, fail, " "},
    {"-1 wraps", usual, "-1 ", 65535, good, " "},
    {"-65535 wraps", usual, "-65535 ", 1, good, " "},
    {"-70000 wraps modulo 65536", usual, "-70000 ", 61072, good, " "},
    {"plus sign", usual, "+65535 ", 65535, good, " "},
};

const extract_case<unsigned int> unsigned_int_cases[] = {
    {"largest", usual, "4294967295 ", 4294967295u, good, " "},
    {"one above", usual, "4294967296 ", untouched, fail, " "},
    {"-1 wraps", usual, "-1 ", 4294967295u, good, " "},
    {"-4294967295 wraps", usual, "-4294967295 ", 1, good, " "},
    {"hex", skipws | hex, "DEADBEEF ", 0xdeadbeefu, good, " "},
};

const extract_case<long> long_cases[] = {
    {"smallest", usual, "-2147483648 ", -2147483647L - 1, good, " "},
    {"one above the largest", usual, "2147483648 ", untouched, fail, " "},
    {"octal", skipws | oct, "-17 ", -15, good, " "},
};

const extract_case<unsigned long> unsigned_long_cases[] = {
    {"largest", usual, "4294967295 ", 4294967295ul, good, " "},
    {"one above", usual, "4294967296 ", untouched, fail, " "},
    {"-1 wraps", usual, "-1 ", 4294967295ul, good, " "},
};

const long long long_long_max = 0x7fffffffffffffffLL;
const long long long_long_min = -long_long_max - 1;

const extract_case<long long> long_long_cases[] = {
    {"beyond int", usual, "2147483648 ", 2147483648LL, good, " "},
    {"smallest", usual, "-9223372036854775808 ", long_long_min, good, " "},
    {"saturated above", usual, "9223372036854775808 ", long_long_max, good, " "},
    {"saturated below", usual, "-99999999999999999999 ", long_long_min, good, " "},
    {"no digit", usual, "-x", untouched, fail, "x"},
};

const extract_case<unsigned long long> unsigned_long_long_cases[] = {
    {"largest", usual, "18446744073709551615 ", 0xffffffffffffffffULL, good, " "},
    {"saturated", usual, "18446744073709551616 ", 0xffffffffffffffffULL, good, " "},
    {"-1 wraps", usual, "-1 ", 0xffffffffffffffffULL, good, " "},
    {"hex", skipws | hex, "0x123456789abcdef0 ", 0x123456789abcdef0ULL, good, " "},
};

void check_integers() {
  run_cases(int_cases);
  run_cases(short_cases);
  run_cases(unsigned_short_cases);
  run_cases(unsigned_int_cases);
  run_cases(long_cases);
  run_cases(unsigned_long_cases);
  run_cases(long_long_cases);
  run_cases(unsigned_long_long_cases);
}

// A number longer than the 128-byte text: the first 127 characters are
// converted, the other digits stay in the buffer.
void check_long_number() {
  check::set_case("200 digits into long long");
  char digits[201];
  memset(digits, '9', 200);
  digits[200] = '\0';
  script_buffer buffer(digits, script_buffer::areas);
  std::istream in(&buffer);
  long long v = 0;
  in >> v;
  CHECK_EQ(v, long_long_max);
  CHECK_EQ(in.rdstate(), good);
  CHECK_EQ(strlen(buffer.rest()), 73);

  check::set_case("200 digits into int");
  script_buffer again(digits, script_buffer::areas);
  std::istream small(&again);
  int i = untouched;
  small >> i;
  CHECK_EQ(i, untouched);
  CHECK_EQ(small.rdstate(), fail);
  CHECK_EQ(strlen(again.rest()), 73);

  check::set_case("the cut may fall in the fraction of a double");
  char long_fraction[301] = "1.";
  memset(long_fraction + 2, '5', 298);
  long_fraction[300] = '\0';
  script_buffer fraction(long_fraction, script_buffer::areas);
  std::istream f(&fraction);
  double d = 0;
  f >> d;
  CHECK(d > 1.5 && d < 1.6);
  CHECK_EQ(strlen(fraction.rest()), 45);
}

// Floating values are compared as text, which also shows them on failure.
const char* shown(double v) {
  static char text[64];
  snprintf(text, sizeof text, "%.17g", v);
  return text;
}
const char* shown_extended(long double v) {
  static char text[64];
  snprintf(text, sizeof text, "%.21Lg", v);
  return text;
}

struct floating_case {
  const char* name;
  const char* input;
  const char* as_double;  // the double extracted, "%.17g"
  const char* as_float;   // the float extracted, widened and shown the same way
  int state;
  const char* rest;
};

const floating_case floating_cases[] = {
    {"mantissa and exponent", "1.5e3 ", "1500", "1500", good, " "},
    {"leading point", " .5 ", "0.5", "0.5", good, " "},
    {"trailing point", "5.", "5", "5", eof, ""},
    {"exponent letter at end of file", "1e", "1", "1", eof, ""},
    {"text starting with e", "e5", "77", "77", fail, "e5"},
    {"lone point", ".", "77", "77", fail | eof, ""},
    {"negative", "-2.5E-2 ", "-0.025000000000000001", "-0.02500000037252903", good, " "},
    {"one tenth", "0.1 ", "0.10000000000000001", "0.10000000149011612", good, " "},
    {"beyond float", "3.4e39 ", "3.3999999999999999e+39", "inf", good, " "},
    {"beyond double", "1e400 ", "inf", "inf", good, " "},
    {"below the smallest", "1e-400 ", "0", "0", good, " "},
    {"no infinity word", "inf", "77", "77", fail, "inf"},
    {"integer text", "12 ", "12", "12", good, " "},
    {"hex flags do not apply", "ff", "77", "77", fail, "ff"},
};

void check_floating() {
  for (script_buffer::mode mode : both_modes) {
    for (const floating_case& c : floating_cases) {
      check::set_case(c.name);
      script_buffer for_double(c.input, mode);
      std::istream d_in(&for_double);
      d_in.setf(ios_base::hex, ios_base::basefield);
      double d = untouched;
      d_in >> d;
      CHECK_TEXT(shown(d), c.as_double);
      CHECK_EQ(d_in.rdstate(), c.state);
      CHECK_TEXT(for_double.rest(), c.rest);

      script_buffer for_float(c.input, mode);
      std::istream f_in(&for_float);
      float f = untouched;
      f_in >> f;
      CHECK_TEXT(shown(f), c.as_float);
      CHECK_EQ(f_in.rdstate(), c.state);
      CHECK_TEXT(for_float.rest(), c.rest);

      // long double takes the double's value, not a finer one of its own.
      script_buffer for_extended(c.input, mode);
      std::istream e_in(&for_extended);
      long double e = untouched;
      e_in >> e;
      char want[64];
      snprintf(want, sizeof want, "%.21Lg", static_cast<long double>(d));
      CHECK_TEXT(shown_extended(e), want);
      CHECK_EQ(e_in.rdstate(), c.state);
      CHECK_TEXT(for_extended.rest(), c.rest);
    }
  }

  // The guest's long double is the 80-bit extended value: 10 bytes are
  // written, whatever room the caller's slot has beyond them.
  check::set_case("long double writes 10 bytes");
  union {
    long double value;
    unsigned char bytes[16];
  } slot;
  memset(slot.bytes, 0xa5, sizeof slot.bytes);
  script_buffer buffer("0.1 ");
  std::istream in(&buffer);
  in >> slot.value;
  CHECK_TEXT(shown_extended(slot.value), "0.100000000000000005551");
  for (int i = 10; i < 16; ++i) CHECK_EQ(slot.bytes[i], 0xa5);

  check::set_case("the _M_extract forms are the same routes");
  script_buffer forms("0.25 0.5 0.75 ");
  std::istream f(&forms);
  float a = 0;
  double b = 0;
  long double c = 0;
  f._M_extract(a);
  f._M_extract(b);
  f._M_extract(c);
  CHECK_TEXT(shown(a), "0.25");
  CHECK_TEXT(shown(b), "0.5");
  CHECK_TEXT(shown_extended(c), "0.75");
}

struct pointer_case {
  const char* name;
  int flags;
  const char* input;
  unsigned long value;
  int state;
  const char* rest;
};

const pointer_case pointer_cases[] = {
    {"with prefix", usual, "0x1000 ", 0x1000, good, " "},
    {"without prefix", usual, "1000 ", 0x1000, good, " "},
    {"under oct and showbase", skipws | oct | ios_base::showbase, "ff ", 0xff, good, " "},
    {"largest", usual, "ffffffff ", 0xffffffff, good, " "},
    {"beyond 32 bits", usual, "100000000 ", untouched, fail, " "},
    {"no digit", usual, "zz", untouched, fail, "zz"},
    {"at end of file", usual, "", untouched, fail | eof, ""},
};

void check_pointers() {
  for (script_buffer::mode mode : both_modes) {
    for (const pointer_case& c : pointer_cases) {
      check::set_case(c.name);
      script_buffer buffer(c.input, mode);
      std::istream in(&buffer);
      in.flags(ios_base::fmtflags(c.flags));
      void* p = reinterpret_cast<void*>(untouched);
      in >> p;
      CHECK_EQ(reinterpret_cast<unsigned long>(p), c.value);
      CHECK_EQ(in.rdstate(), c.state);
      CHECK_TEXT(buffer.rest(), c.rest);
      // The stream's own flags are back as they were.
      CHECK_EQ(in.flags(), c.flags);

      script_buffer again(c.input, mode);
      std::istream m(&again);
      m.flags(ios_base::fmtflags(c.flags));
      void* q = reinterpret_cast<void*>(untouched);
      m._M_extract(q);
      CHECK_EQ(reinterpret_cast<unsigned long>(q), c.value);
      CHECK_EQ(m.flags(), c.flags);
    }
  }
}

const bool unset = true;  // the value a failed bool extraction keeps

struct bool_case {
  const char* name;
  int flags;
  const char* input;
  bool value;
  int state;
  const char* rest;
};

const bool_case bool_cases[] = {
    {"1", usual, "1 ", true, good, " "},
    {"0", usual, "0 ", false, good, " "},
    {"01 under dec", usual, "01", true, eof, ""},
    {"2 fails", usual, "2 ", unset, fail, " "},
    {"-1 fails", usual, "-1 ", unset, fail, " "},
    {"no digit", usual, "true", unset, fail, "true"},
    {"hex 1", skipws | hex, "0x1 ", true, good, " "},
    {"boolalpha true", usual | boolalpha, "true", true, good, ""},
    {"boolalpha false", usual | boolalpha, "  false ", false, good, " "},
    {"boolalpha word then more", usual | boolalpha, "truer", true, good, "r"},
    {"boolalpha capital T", usual | boolalpha, "True", unset, fail, "True"},
    {"boolalpha cut at end of file", usual | boolalpha, "tru", unset, fail | eof, ""},
    {"boolalpha mismatch", usual | boolalpha, "fa1se", unset, fail, "1se"},
    {"boolalpha other letter", usual | boolalpha, "yes", unset, fail, "yes"},
    {"boolalpha digit", usual | boolalpha, "1", unset, fail, "1"},
    {"boolalpha nothing left", usual | boolalpha, "", unset, fail | eof, ""},
    {"boolalpha at end without skipws", dec | boolalpha, "", unset, fail, ""},
};

void check_bools() {
  for (script_buffer::mode mode : both_modes) {
    for (const bool_case& c : bool_cases) {
      check::set_case(c.name);
      script_buffer buffer(c.input, mode);
      std::istream in(&buffer);
      in.flags(ios_base::fmtflags(c.flags));
      bool v = unset;
      in >> v;
      CHECK_EQ(v, c.value);
      CHECK_EQ(in.rdstate(), c.state);
      CHECK_TEXT(buffer.rest(), c.rest);
    }
  }
  check::set_case("a false stays false when the extraction fails");
  script_buffer buffer("7");
  std::istream in(&buffer);
  bool v = false;
  in >> v;
  CHECK_EQ(v, false);
  CHECK_EQ(in.rdstate(), fail | eof);
}

// Sequences of extractions on one stream, and the states they meet.
void check_sequences() {
  check::set_case("several numbers in a row");
  script_buffer buffer("12 -3\t4.5\n0x10 true", script_buffer::areas);
  std::istream in(&buffer);
  int a = 0;
  short b = 0;
  double c = 0;
  void* d = 0;
  in >> a >> b >> c >> d;
  CHECK_EQ(a, 12);
  CHECK_EQ(b, -3);
  CHECK_TEXT(shown(c), "4.5");
  CHECK_EQ(reinterpret_cast<unsigned long>(d), 0x10);
  bool e = false;
  in.setf(ios_base::boolalpha);
  in >> e;
  CHECK_EQ(e, true);
  // The character after the word is not looked at for end of file.
  CHECK_EQ(in.rdstate(), good);
  in >> a;
  CHECK_EQ(a, 12);
  CHECK_EQ(in.rdstate(), fail | eof);

  check::set_case("a failed stream takes nothing");
  script_buffer stuck("x 5");
  std::istream s(&stuck);
  s >> a;
  CHECK_EQ(s.rdstate(), fail);
  s >> a;
  CHECK_EQ(a, 12);
  CHECK_TEXT(stuck.rest(), "x 5");

  check::set_case("gcount is not touched");
  script_buffer counted("ab\n42");
  std::istream g(&counted);
  char line[8];
  g.getline(line, sizeof line);
  g >> a;
  CHECK_EQ(a, 42);
  CHECK_EQ(g.gcount(), 3);

  check::set_case("a stream without a buffer");
  std::istream null_stream(0);
  null_stream >> a;
  CHECK_EQ(null_stream.rdstate(), ios_base::badbit | fail);
}

// A buffer whose every input step throws, as a game's buffer may.
struct throwing_buffer : script_buffer {
  int underflow() override { throw 8; }
  int uflow() override { throw 9; }
};

// An exception from the buffer passes through the extractor and leaves the
// state as it was.
void check_exceptions_pass_through() {
  check::set_case("exception from the buffer during a number");
  throwing_buffer buffer;
  std::istream in(&buffer);
  in.unsetf(ios_base::skipws);
  int v = untouched;
  int caught = 0;
  try {
    in >> v;
  } catch (int thrown) {
    caught = thrown;
  }
  CHECK_EQ(caught, 8);
  CHECK_EQ(v, untouched);
  CHECK_EQ(in.rdstate(), good);
}

void fail_int_with_failbit_mask(void*) {
  run_with_mask(fail, "x", [](std::istream& in) {
    int v = 0;
    in >> v;
  });
}
void fail_bool_with_failbit_mask(void*) {
  run_with_mask(fail, "2 ", [](std::istream& in) {
    bool v = false;
    in >> v;
  });
}
void fail_boolalpha_with_failbit_mask(void*) {
  run_with_mask(fail, "tru", [](std::istream& in) {
    bool v = false;
    in.setf(ios_base::boolalpha);
    in >> v;
  });
}
void fail_double_with_failbit_mask(void*) {
  run_with_mask(fail, ".", [](std::istream& in) {
    double v = 0;
    in >> v;
  });
}

// The scanner's eofbit is not checked; the next checked change is. The
// report shows what the first extraction stored and the state then.
int first_value;
int state_after_first;

void report_first_read(void* in) {
  dprintf(2, "first %d, state=%d; state=%d\n", first_value, state_after_first,
          static_cast<std::istream*>(in)->rdstate());
}

void read_past_end_with_eofbit_mask(void*) {
  script_buffer buffer("42");
  std::istream in(&buffer);
  in.exceptions(ios_base::eofbit);
  torvel_test_on_fatal(report_first_read, &in);
  in >> first_value;
  state_after_first = in.rdstate();
  int v = 0;
  in >> v;
}

void check_fatal_reports() {
  struct {
    const char* name;
    void (*run)(void*);
    const char* after_report;
  } const cases[] = {
      {"int extractor failing", fail_int_with_failbit_mask, "state=4\n"},
      {"bool extractor out of range", fail_bool_with_failbit_mask, "state=4\n"},
      {"boolalpha extractor cut short", fail_boolalpha_with_failbit_mask, "state=6\n"},
      {"double extractor failing", fail_double_with_failbit_mask, "state=6\n"},
  };
  for (const auto& c : cases) {
    check::set_case(c.name);
    EXPECT_FATAL(c.run, 0, "std::ios_base::failure", "basic_ios::clear", c.after_report);
  }
  check::set_case("eofbit in the mask: reported by the next extraction");
  EXPECT_FATAL(read_past_end_with_eofbit_mask, 0, "std::ios_base::failure", "basic_ios::clear",
               "first 42, state=2; state=6\n");
}

}

int main() {
  check_integers();
  check_long_number();
  check_floating();
  check_pointers();
  check_bools();
  check_sequences();
  check_exceptions_pass_through();
  check_fatal_reports();
  return check::finish();
}
