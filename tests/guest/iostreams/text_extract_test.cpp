// The character, C-string and string extractors, std::getline, std::ws and
// the string inserter: white space, widths, the 128-byte batches of the
// string forms, delimiters compared as bytes, and the end-of-file rules.
// Each input case runs over a buffer with a get area and over one that
// hands out every character through underflow and uflow.
#include "check.h"
#include "fatal_state.h"
#include "script_buffer.h"
#include "string_io.h"
#include "test_host.h"

namespace {

using std::ios_base;
const int good = 0, bad = ios_base::badbit, eof = ios_base::eofbit, fail = ios_base::failbit;
const int usual = ios_base::skipws | ios_base::dec;
const int noskip = ios_base::dec;
const std::allocator<char> alloc;

struct text_case {
  const char* name;
  int flags;
  int width;
  const char* input;
  int input_length;  // -1: up to the NUL
  // Runs the extraction; writes what it stored into result.
  void (*run)(std::istream&, char* result);
  const char* result;
  int state;
  int width_after;
  const char* rest;
};

void one_char(std::istream& in, char* r) {
  char c = '?';
  in >> c;
  r[0] = c;
  r[1] = 0;
}
void one_unsigned_char(std::istream& in, char* r) {
  unsigned char c = '?';
  in >> c;
  snprintf(r, 16, "%d", c);
}
void one_signed_char(std::istream& in, char* r) {
  signed char c = '?';
  in >> c;
  snprintf(r, 16, "%d", c);
}
void c_string(std::istream& in, char* r) {
  memset(r, '#', 16);
  r[16] = 0;
  in >> r;
}
void unsigned_c_string(std::istream& in, char* r) {
  memset(r, '#', 16);
  r[16] = 0;
  in >> reinterpret_cast<unsigned char*>(r);
}
void signed_c_string(std::istream& in, char* r) {
  memset(r, '#', 16);
  r[16] = 0;
  in >> reinterpret_cast<signed char*>(r);
}
// The string's characters, a NUL byte shown as @.
void copy_out(const std::string& s, char* r) {
  for (std::size_t i = 0; i < s.size(); ++i) r[i] = s.data()[i] == '\0' ? '@' : s.data()[i];
  r[s.size()] = 0;
}
void word(std::istream& in, char* r) {
  std::string s("old", alloc);
  in >> s;
  copy_out(s, r);
}
void line(std::istream& in, char* r) {
  std::string s("old", alloc);
  std::getline(in, s);
  copy_out(s, r);
}
template<char delimiter> void line_to(std::istream& in, char* r) {
  std::string s("old", alloc);
  std::getline(in, s, delimiter);
  copy_out(s, r);
}
void skip_white(std::istream& in, char* r) {
  r[0] = 0;
  std::ws(in);
}
void skip_white_manipulator(std::istream& in, char* r) {
  r[0] = 0;
  in >> std::ws;
}

const text_case text_cases[] = {
    // characters
    {"char", usual, 0, "  xy", -1, one_char, "x", good, 0, "y"},
    {"char without skipws", noskip, 0, " x", -1, one_char, " ", good, 0, "x"},
    {"char at end of file", usual, 0, "", -1, one_char, "?", eof | fail, 0, ""},
    {"char after white space only", usual, 0, " \t", -1, one_char, "?", eof | fail, 0, ""},
    {"char without skipws at end of file", noskip, 0, "", -1, one_char, "?", eof | fail, 0, ""},
    {"char ignores the width", usual, 5, "ab", -1, one_char, "a", good, 5, "b"},
    {"char 0xa0 is not white space", usual, 0, "\xa0x", -1, one_char, "\xa0", good, 0, "x"},
    {"unsigned char 0xff", usual, 0, "\xff", -1, one_unsigned_char, "255", good, 0, ""},
    {"unsigned char at end of file", usual, 0, "", -1, one_unsigned_char, "63", eof | fail, 0, ""},
    {"signed char 0xff", usual, 0, " \xff", -1, one_signed_char, "-1", good, 0, ""},
    // C strings
    {"C string up to white space", usual, 0, "  word next", -1, c_string, "word", good, 0, " next"},
    {"C string to end of file", usual, 0, "word", -1, c_string, "word", eof, 0, ""},
    {"C string width 4", usual, 4, "abcdef", -1, c_string, "abc", good, 0, "def"},
    {"C string width 4, end of file after the limit", usual, 4, "abc", -1, c_string, "abc", eof, 0, ""},
    {"C string width 1", usual, 1, "abc", -1, c_string, "", fail, 0, "abc"},
    {"C string of white space only", usual, 3, "  \n", -1, c_string, "################", eof | fail, 3, ""},
    {"C string without skipws at white space", noskip, 0, " a", -1, c_string, "", fail, 0, " a"},
    {"C string without skipws at end of file", noskip, 2, "", -1, c_string, "", eof | fail, 0, ""},
    {"C string keeps 0xa0", usual, 0, "a\xa0" "b c", -1, c_string, "a\xa0" "b", good, 0, " c"},
    {"C string stops at each white-space byte", usual, 0, "ab\vcd", -1, c_string, "ab", good, 0, "\vcd"},
    {"unsigned C string", usual, 3, " xyz", -1, unsigned_c_string, "xy", good, 0, "z"},
    {"signed C string", usual, 0, "xyz", -1, signed_c_string, "xyz", eof, 0, ""},
    // string words
    {"word", usual, 0, " \tword next", -1, word, "word", good, 0, " next"},
    {"word to end of file", usual, 0, "word", -1, word, "word", eof, 0, ""},
    {"word width 2", usual, 2, "abc", -1, word, "ab", good, 0, "c"},
    {"word width 3, end of file after the limit", usual, 3, "abc", -1, word, "abc", eof, 0, ""},
    {"word of white space only", usual, 4, "   ", -1, word, "old", eof | fail, 4, ""},
    {"word without skipws at white space", noskip, 3, " a", -1, word, "", fail, 0, " a"},
    {"word takes a NUL byte", usual, 0, "a\0b c", 5, word, "a@b", good, 0, " c"},
    // lines
    {"line", usual, 0, "x\ny", -1, line, "x", good, 0, "y"},
    {"line keeps leading white space", usual, 0, "  x y\n", -1, line, "  x y", good, 0, ""},
    {"last line", usual, 0, "y", -1, line, "y", eof, 0, ""},
    {"empty line", usual, 0, "\nz", -1, line, "", good, 0, "z"},
    {"line at end of file", usual, 0, "", -1, line, "", eof | fail, 0, ""},
    {"line ignores the width", usual, 2, "abcd\n", -1, line, "abcd", good, 2, ""},
    {"line to a delimiter", usual, 0, "a b;c", -1, line_to<';'>, "a b", good, 0, "c"},
    {"line to a NUL byte", usual, 0, "ab\0cd", 5, line_to<'\0'>, "ab", good, 0, "cd"},
    {"line to a 0xff byte", usual, 0, "ab\xff" "cd", -1, line_to<'\xff'>, "ab", good, 0, "cd"},
    {"0xff delimiter is not end of file", usual, 0, "ab", -1, line_to<'\xff'>, "ab", eof, 0, ""},
    // white space
    {"ws", usual, 0, "  \t\n x", -1, skip_white, "", good, 0, "x"},
    {"ws of blanks only", usual, 0, " \r\f\v ", -1, skip_white, "", eof, 0, ""},
    {"ws without skipws", noskip, 0, " x", -1, skip_white, "", good, 0, "x"},
    {"ws at a non-blank", usual, 0, "x ", -1, skip_white, "", good, 0, "x "},
    {"ws leaves 0xa0", usual, 0, " \xa0", -1, skip_white, "", good, 0, "\xa0"},
    {"ws as a manipulator", usual, 0, " \n", -1, skip_white_manipulator, "", eof, 0, ""},
};

void check_text_cases() {
  for (script_buffer::mode mode : both_modes) {
    for (const text_case& c : text_cases) {
      check::set_case(c.name);
      script_buffer buffer(c.input, mode, c.input_length);
      std::istream in(&buffer);
      in.flags(ios_base::fmtflags(c.flags));
      in.width(c.width);
      char result[32] = "";
      c.run(in, result);
      CHECK_TEXT(result, c.result);
      CHECK_EQ(in.rdstate(), c.state);
      CHECK_EQ(in.width(), c.width_after);
      CHECK_TEXT(buffer.rest(), c.rest);
    }
  }
}

// 300 characters, three batches: all of them arrive, in order.
void check_batches() {
  char text[303];
  for (int i = 0; i < 300; ++i) text[i] = static_cast<char>('!' + i % 90);
  text[300] = '\0';
  text[302] = '\0';

  for (script_buffer::mode mode : both_modes) {
    check::set_case("word of 300 characters");
    script_buffer buffer(text, mode);
    std::istream in(&buffer);
    std::string s;
    in >> s;
    CHECK_EQ(s.size(), 300);
    CHECK(memcmp(s.data(), text, 300) == 0);
    CHECK_EQ(in.rdstate(), eof);

    check::set_case("line of 300 characters");
    text[300] = '\n';
    text[301] = 'z';
    script_buffer lines(text, mode, 302);
    std::istream l(&lines);
    std::string t("something long enough to need clearing first", alloc);
    std::getline(l, t);
    CHECK_EQ(t.size(), 300);
    CHECK(memcmp(t.data(), text, 300) == 0);
    CHECK_EQ(l.rdstate(), good);
    CHECK_TEXT(lines.rest(), "z");
    text[300] = '\0';
  }

  check::set_case("exactly one batch");
  script_buffer one(text, script_buffer::areas, 128);
  std::istream in(&one);
  std::string s;
  in >> s;
  CHECK_EQ(s.size(), 128);
  CHECK(memcmp(s.data(), text, 128) == 0);

  check::set_case("word width above a batch");
  script_buffer wide(text, script_buffer::areas);
  std::istream w(&wide);
  w.width(200);
  w >> s;
  CHECK_EQ(s.size(), 200);
  CHECK_EQ(strlen(wide.rest()), 100);
}

// The three calls of the getline example: a line, the last line at end of
// file, then a refusal that keeps the string.
void check_getline_sequence() {
  for (script_buffer::mode mode : both_modes) {
    check::set_case("getline three times");
    script_buffer buffer("x\ny", mode);
    std::istream in(&buffer);
    std::string s;
    std::getline(in, s);
    CHECK_EQ(s.size(), 1);
    CHECK_EQ(s[0], 'x');
    CHECK_EQ(in.rdstate(), good);
    std::getline(in, s);
    CHECK_EQ(s.size(), 1);
    CHECK_EQ(s[0], 'y');
    CHECK_EQ(in.rdstate(), eof);
    std::getline(in, s);
    CHECK_EQ(s.size(), 1);
    CHECK_EQ(s[0], 'y');
    CHECK_EQ(in.rdstate(), eof | fail);
  }

  check::set_case("getline leaves gcount alone");
  script_buffer counted("ab\ncd\nef");
  std::istream g(&counted);
  char first[8];
  g.getline(first, sizeof first);
  std::string s;
  std::getline(g, s);
  g >> s;
  char c;
  g >> c;
  CHECK_EQ(g.gcount(), 3);
}

void check_null_buffer() {
  check::set_case("ws without a buffer");
  std::istream none(0);
  none.stream_state = ios_base::goodbit;
  std::ws(none);
  CHECK_EQ(none.rdstate(), bad);

  check::set_case("ws processes a failed stream all the same");
  script_buffer buffer("  x");
  std::istream in(&buffer);
  in.setstate(ios_base::failbit);
  std::ws(in);
  CHECK_TEXT(buffer.rest(), "x");
  CHECK_EQ(in.rdstate(), fail);

  check::set_case("extractors on a stream without a buffer");
  std::istream empty(0);
  char c = '?';
  char text[4] = "###";
  std::string s("kept", alloc);
  empty >> c >> text >> s;
  std::getline(empty, s);
  CHECK_EQ(c, '?');
  CHECK_TEXT(text, "###");
  CHECK_EQ(s.size(), 4);
  CHECK_EQ(empty.rdstate(), bad | fail);
}

void check_string_inserter() {
  struct {
    const char* name;
    const char* text;
    int width;
    int flags;
    const char* written;
  } const cases[] = {
      {"plain", "abc", 0, 0, "abc"},
      {"padded on the left", "ab", 5, 0, "...ab"},
      {"padded on the right", "ab", 4, ios_base::left, "ab.."},
      {"internal pads in front", "ab", 3, ios_base::internal, ".ab"},
      {"wider than the field", "abcdef", 3, 0, "abcdef"},
      {"empty", "", 2, 0, ".."},
  };
  for (const auto& c : cases) {
    check::set_case(c.name);
    script_buffer buffer("", script_buffer::areas);
    std::ostream out(&buffer);
    out.fill('.');
    out.width(c.width);
    out.setf(ios_base::fmtflags(c.flags), ios_base::adjustfield);
    std::string s(c.text, alloc);
    CHECK(&(out << s) == &out);
    CHECK_TEXT(buffer.written(), c.written);
    CHECK_EQ(out.width(), 0);
    CHECK_EQ(out.rdstate(), good);
  }

  check::set_case("a string with a NUL byte is written whole");
  script_buffer buffer("", script_buffer::areas);
  std::ostream out(&buffer);
  std::string s("a\0b", 3, alloc);
  out << s;
  CHECK_EQ(buffer.put_next - buffer.put_begin, 3);
  CHECK(memcmp(buffer.put_begin, "a\0b", 3) == 0);

  check::set_case("a failed stream writes nothing and keeps its width");
  script_buffer refused("", script_buffer::areas);
  std::ostream r(&refused);
  r.setstate(ios_base::failbit);
  r.width(4);
  r << s;
  CHECK_EQ(refused.written_count(), 0);
  CHECK_EQ(r.width(), 4);
}

// A stream with both eofbit and failbit in its mask, reading one word that
// ends at end of file and then nothing: eofbit is reported first.
void c_string_at_end(void*) {
  run_with_mask(eof | fail, "abc", [](std::istream& in) {
    char text[8];
    in >> text;
  });
}
void word_at_end(void*) {
  run_with_mask(eof | fail, "abc", [](std::istream& in) {
    std::string s;
    in >> s;
  });
}
void char_at_end(void*) {
  run_with_mask(fail, "", [](std::istream& in) {
    char c;
    in.unsetf(ios_base::skipws);
    in >> c;
  });
}
void line_at_end(void*) {
  run_with_mask(fail, "", [](std::istream& in) {
    std::string s;
    in.unsetf(ios_base::skipws);
    std::getline(in, s);
  });
}
void last_line_with_eof_mask(void*) {
  run_with_mask(eof, "last", [](std::istream& in) {
    std::string s;
    std::getline(in, s);
  });
}
void ws_with_eof_mask(void*) {
  run_with_mask(eof, "  ", [](std::istream& in) { std::ws(in); });
}
void ws_without_buffer(void*) {
  std::istream in(0);
  in.stream_state = ios_base::goodbit;
  in.exception_mask = ios_base::badbit;
  report_state_on_fatal(in);
  std::ws(in);
}
void check_fatal_reports() {
  struct {
    const char* name;
    void (*run)(void*);
    const char* after_report;
  } const cases[] = {
      {"C string: eofbit reported before failbit", c_string_at_end, "state=2\n"},
      {"word: eofbit reported before failbit", word_at_end, "state=2\n"},
      {"char at end of file", char_at_end, "state=6\n"},
      {"getline at end of file", line_at_end, "state=6\n"},
      {"getline of the last line", last_line_with_eof_mask, "state=2\n"},
      {"ws at end of file", ws_with_eof_mask, "state=2\n"},
      {"ws without a buffer", ws_without_buffer, "state=1\n"},
  };
  for (const auto& c : cases) {
    check::set_case(c.name);
    EXPECT_FATAL(c.run, 0, "std::ios_base::failure", "basic_ios::clear", c.after_report);
  }
  // A refused sentry adds failbit again; with only eofbit in the mask there
  // is no report, and the extraction returns.
  check::set_case("word on a failed stream, eofbit mask");
  script_buffer buffer("abc");
  std::istream in(&buffer);
  in.setstate(ios_base::failbit);
  in.exceptions(ios_base::eofbit);
  std::string s("kept", alloc);
  in >> s;
  CHECK_EQ(s.size(), 4);
  CHECK_EQ(in.rdstate(), fail);
}

}

int main() {
  check_text_cases();
  check_batches();
  check_getline_sequence();
  check_null_buffer();
  check_string_inserter();
  check_fatal_reports();
  return check::finish();
}
