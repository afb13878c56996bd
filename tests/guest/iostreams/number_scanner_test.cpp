// std::istream::read_number, the scanner behind every arithmetic extractor:
// its grammar (base from the flags, sign, the 0 and 0x prefixes, digits,
// fraction and exponent), the cut at len - 1 with the rest left in the
// buffer, the end-of-file bit and the returned base. Each case runs over a
// buffer with a get area and over one that hands out every character
// through underflow and uflow.
#include "check.h"
#include "script_buffer.h"

namespace {

using std::ios_base;
const int good = 0, eof = ios_base::eofbit;
const int dec = ios_base::dec, hex = ios_base::hex, oct = ios_base::oct, none = 0;

struct scan_case {
  const char* name;
  int base_flags;  // the basefield bits set on the stream
  bool is_float;
  int len;
  const char* input;
  const char* text;  // what the scanner wrote
  int base;          // what it returned
  int state;
  const char* rest;  // what the buffer still holds
};

const scan_case scan_cases[] = {
    // integers, base from the flags
    {"decimal up to white space", dec, false, 128, "42 7", "42", 10, good, " 7"},
    {"decimal up to end of file", dec, false, 128, "42", "42", 10, eof, ""},
    {"minus sign", dec, false, 128, "-17x", "-17", 10, good, "x"},
    {"plus sign", dec, false, 128, "+5", "+5", 10, eof, ""},
    {"lone sign at end of file", dec, false, 128, "-", "-", 0, eof, ""},
    {"lone sign before a letter", dec, false, 128, "-x", "-", 0, good, "x"},
    {"two signs", dec, false, 128, "+-1", "+", 0, good, "-1"},
    {"no digit", dec, false, 128, "abc", "", 0, good, "abc"},
    {"white space is not skipped", dec, false, 128, " 5", "", 0, good, " 5"},
    {"empty input", dec, false, 128, "", "", 0, eof, ""},
    {"0xff byte is a character, not the end", dec, false, 128, "\xff", "", 0, good, "\xff"},
    {"decimal reads 0x1f as 0", dec, false, 128, "0x1f", "0", 10, good, "x1f"},
    {"octal reads 0x1f as 0", oct, false, 128, "0x1f", "0", 8, good, "x1f"},
    {"octal stops at 8", oct, false, 128, "0789", "07", 8, good, "89"},
    {"hex with prefix", hex, false, 128, "0x1f", "0x1f", 16, eof, ""},
    {"hex with capital prefix", hex, false, 128, "0X1F;", "0X1F", 16, good, ";"},
    {"hex without prefix", hex, false, 128, "ff", "ff", 16, eof, ""},
    {"hex letters of both cases", hex, false, 128, "aBcDeFg", "aBcDeF", 16, good, "g"},
    {"hex zero at end of file", hex, false, 128, "0", "0", 16, eof, ""},
    {"hex sign and prefix", hex, false, 128, "-0x10", "-0x10", 16, eof, ""},
    {"hex wins over oct and dec", hex | oct | dec, false, 128, "1f", "1f", 16, eof, ""},
    {"oct wins over dec", oct | dec, false, 128, "19", "1", 8, good, "9"},
    {"no base: 0x prefix", none, false, 128, "0x1f", "0x1f", 16, eof, ""},
    {"no base: leading 0 is octal", none, false, 128, "017", "017", 8, eof, ""},
    {"no base: octal stops at 9", none, false, 128, "019", "01", 8, good, "9"},
    {"no base: 0 at end of file", none, false, 128, "0", "0", 8, eof, ""},
    {"no base: decimal", none, false, 128, "12 ", "12", 10, good, " "},
    {"no base: lone 0x at end of file", none, false, 128, "0x", "0x", 0, eof, ""},
    {"no base: 0x before a non-digit", none, false, 128, "0xg", "0x", 0, good, "g"},
    {"no base: signed octal", none, false, 128, "-017", "-017", 8, eof, ""},
    // the cut at len - 1, sign and prefix included
    {"cut at len - 1", dec, false, 5, "1234567", "1234", 10, good, "567"},
    {"cut counts the sign", dec, false, 5, "-1234567", "-123", 10, good, "4567"},
    {"cut counts the prefix", hex, false, 5, "0x12345", "0x12", 16, good, "345"},
    {"cut exactly at the end", dec, false, 5, "1234", "1234", 10, eof, ""},
    // floating point
    {"mantissa, fraction and exponent", dec, true, 256, "1.5e3", "1.5e3", 10, eof, ""},
    {"leading decimal point", dec, true, 256, ".5", ".5", 10, eof, ""},
    {"trailing decimal point", dec, true, 256, "5.", "5.", 10, eof, ""},
    {"decimal point before a letter", dec, true, 256, "5.x", "5.", 10, good, "x"},
    {"lone decimal point", dec, true, 256, ".", ".", 0, eof, ""},
    {"second decimal point stays", dec, true, 256, "1.2.3", "1.2", 10, good, ".3"},
    {"exponent letter at end of file", dec, true, 256, "1e", "1e", 10, eof, ""},
    {"exponent sign at end of file", dec, true, 256, "1e+", "1e+", 10, eof, ""},
    {"signed exponent", dec, true, 256, "-2.5E-20 ", "-2.5E-20", 10, good, " "},
    {"exponent without digits", dec, true, 256, "1ex", "1e", 10, good, "x"},
    {"exponent needs a digit before it", dec, true, 256, "e5", "", 0, good, "e5"},
    {"no exponent after a lone point", dec, true, 256, ".e5", ".", 0, good, "e5"},
    {"floating point is always decimal", hex, true, 256, "ff", "", 0, good, "ff"},
    {"no hexadecimal floating form", none, true, 256, "0x1p3", "0", 10, good, "x1p3"},
    {"no infinity word", dec, true, 256, "inf", "", 0, good, "inf"},
    {"fraction digits count", dec, true, 256, "-.5", "-.5", 10, eof, ""},
    {"fraction cut at len - 1", dec, true, 5, "1.23456", "1.23", 10, good, "456"},
    {"exponent fits in len - 1", dec, true, 6, "12e45", "12e45", 10, eof, ""},
    {"exponent needs three free places", dec, true, 5, "12e45", "12", 10, good, "e45"},
    {"exponent digits cut at len - 1", dec, true, 6, "1e-456", "1e-45", 10, good, "6"},
    // lengths too small for the grammar's fixed parts
    {"len 1 takes nothing", dec, false, 1, "-5", "", 0, good, "-5"},
    {"len 2 takes no sign and digit", dec, false, 2, "-5", "-", 0, good, "5"},
    {"len 2 hex keeps the x", hex, false, 2, "0x5", "0", 16, good, "x5"},
    {"len 3 no base: 0x and no room", none, false, 3, "0x5", "0x", 0, good, "5"},
};

void check_scanner() {
  for (script_buffer::mode mode : both_modes) {
    for (const scan_case& c : scan_cases) {
      check::set_case(c.name);
      script_buffer buffer(c.input, mode);
      std::istream in(&buffer);
      in.setf(ios_base::fmtflags(c.base_flags), ios_base::basefield);
      char text[300];
      memset(text, '#', sizeof text);
      CHECK_EQ(in.read_number(text, c.len, c.is_float), c.base);
      CHECK_TEXT(text, c.text);
      // Nothing beyond the len bytes the caller gave.
      CHECK_EQ(text[c.len], '#');
      CHECK_EQ(in.rdstate(), c.state);
      CHECK_TEXT(buffer.rest(), c.rest);
    }
  }
}

void check_boundaries() {
  check::set_case("len 0 writes nothing and reads nothing");
  script_buffer buffer("12");
  std::istream in(&buffer);
  char text[4] = "###";
  CHECK_EQ(in.read_number(text, 0, false), 0);
  CHECK_TEXT(text, "###");
  CHECK_TEXT(buffer.rest(), "12");

  check::set_case("a stream without a buffer");
  std::istream none(0);
  CHECK_EQ(none.read_number(text, 4, false), 0);
  CHECK_TEXT(text, "");
  CHECK_EQ(none.rdstate(), ios_base::badbit);

  // The end of the input is stored without the mask check: a stream that
  // asks for a report at eofbit does not get one from the scanner.
  check::set_case("eofbit without the exception check");
  script_buffer ending("7");
  std::istream e(&ending);
  e.exception_mask = ios_base::eofbit;
  CHECK_EQ(e.read_number(text, 4, false), 10);
  CHECK_EQ(e.rdstate(), eof);

  check::set_case("existing state bits stay");
  script_buffer more("9");
  std::istream m(&more);
  m.stream_state = ios_base::failbit;
  CHECK_EQ(m.read_number(text, 4, false), 10);
  CHECK_EQ(m.rdstate(), ios_base::failbit | eof);

  check::set_case("the scanner leaves gcount alone");
  script_buffer counted("ab\n12");
  std::istream g(&counted);
  char line[8];
  g.getline(line, sizeof line);
  CHECK_EQ(g.read_number(text, 4, false), 10);
  CHECK_EQ(g.gcount(), 3);
}

}

int main() {
  check_scanner();
  check_boundaries();
  return check::finish();
}
