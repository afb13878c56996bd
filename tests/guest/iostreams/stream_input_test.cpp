// std::istream: the input sentry and every unformatted input member at its
// boundaries, positioning and the stream-buffer extractor. Each case runs
// over a buffer with a get area and over one without (every character
// through underflow and uflow), which must give the same results.
#include "check.h"
#include "script_buffer.h"

namespace {

using std::ios_base;
const int good = 0, bad = ios_base::badbit, eof = ios_base::eofbit, fail = ios_base::failbit;

struct input_case {
  const char* name;
  const char* input;
  // Runs the operation; writes what it stored or returned into result.
  void (*run)(std::istream&, char* result);
  const char* result;
  int gcount;
  int state;
  const char* rest;  // what the buffer still holds
};

void get_one(std::istream& in, char* r) {
  int c = in.get();
  snprintf(r, 16, "%d", c);
}
void get_after_fail(std::istream& in, char* r) {
  in.setstate(ios_base::failbit);
  get_one(in, r);
}
void get_char(std::istream& in, char* r) {
  char c = '?';
  in.get(c);
  r[0] = c;
  r[1] = 0;
}
void get_buf1(std::istream& in, char* r) {
  r[0] = 'z';
  in.get(r, 1);
}
void get_buf5(std::istream& in, char* r) { in.get(r, 5); }
void get_buf_delim(std::istream& in, char* r) { in.get(r, 10, ';'); }
void getline4(std::istream& in, char* r) { in.getline(r, 4); }
void getline10(std::istream& in, char* r) { in.getline(r, 10); }
void getline0(std::istream& in, char* r) {
  r[0] = 'u';
  r[1] = 0;
  in.getline(r, 0, '\n');
}
void getline_ff(std::istream& in, char* r) { in.getline(r, 10, '\xff'); }
void ignore_all_to_newline(std::istream& in, char*) { in.ignore(0x7fffffff, '\n'); }
void ignore3x(std::istream& in, char*) { in.ignore(3, 'x'); }
void ignore_one(std::istream& in, char*) { in.ignore(); }
void ignore_two(std::istream& in, char*) { in.ignore(2); }
void ignore_zero(std::istream& in, char*) { in.ignore(0); }
void peek_twice(std::istream& in, char* r) {
  int a = in.peek();
  int b = in.peek();
  snprintf(r, 16, "%d %d", a, b);
}
void read4(std::istream& in, char* r) {
  in.read(r, 4);
  r[in.gcount()] = 0;
}
void unget_after_read(std::istream& in, char* r) {
  in.get();
  in.unget();
  get_char(in, r);
}

const input_case input_cases[] = {
    {"get at end of file", "", get_one, "-1", 0, eof | fail, ""},
    {"get of 0xff", "\xff", get_one, "255", 1, good, ""},
    {"get on a failed stream", "ab", get_after_fail, "-1", 0, eof | fail, "ab"},
    {"get(char&)", "pq", get_char, "p", 1, good, "q"},
    {"get(char&) at end", "", get_char, "?", 0, eof | fail, ""},
    {"get(buf, 1)", "abc", get_buf1, "", 0, fail, "abc"},
    {"get(buf, 1) at end", "", get_buf1, "", 0, eof | fail, ""},
    {"get(buf, 5) stops before the newline", "ab\ncd", get_buf5, "ab", 2, good, "\ncd"},
    {"get(buf, 5) at a full buffer", "abcdefg", get_buf5, "abcd", 4, good, "efg"},
    {"get(buf, 5) to end of file", "ab", get_buf5, "ab", 2, eof, ""},
    {"get(buf, 5) of an empty line", "\nx", get_buf5, "", 0, fail, "\nx"},
    {"get(buf, n, delim)", "ab;c", get_buf_delim, "ab", 2, good, ";c"},
    {"getline exactly filling the buffer", "abc\nx", getline4, "abc", 4, good, "x"},
    {"getline too long", "abcd", getline4, "abc", 3, fail, "d"},
    {"getline ending at end of file", "ab", getline4, "ab", 2, eof, ""},
    {"getline of an empty line", "\nz", getline10, "", 1, good, "z"},
    {"getline at end of file", "", getline10, "", 0, eof | fail, ""},
    {"getline(buf, 0) writes nothing", "ab", getline0, "u", 0, fail, "ab"},
    {"getline with delimiter 0xff", "a\xff" "b", getline_ff, "a", 2, good, "b"},
    {"ignore up to the newline", "skip this\nnext", ignore_all_to_newline, "", 10, good, "next"},
    {"ignore(3, 'x') takes the x", "abxy", ignore3x, "", 3, good, "y"},
    {"ignore(3, 'x') stops at 3", "abcx", ignore3x, "", 3, good, "x"},
    {"ignore(3, 'x') at end of file", "ab", ignore3x, "", 2, eof, ""},
    {"ignore()", "ab", ignore_one, "", 1, good, "b"},
    {"ignore() of 0xff", "\xff" "b", ignore_one, "", 1, good, "b"},
    {"ignore(2)", "abc", ignore_two, "", 2, good, "c"},
    {"ignore(0)", "abc", ignore_zero, "", 0, good, "abc"},
    {"peek", "m", peek_twice, "109 109", 0, good, "m"},
    {"peek at end of file", "", peek_twice, "-1 -1", 0, eof | fail, ""},
    {"read", "abcdef", read4, "abcd", 4, good, "ef"},
    {"read short", "ab", read4, "ab", 2, eof | fail, ""},
};

void check_unformatted_input() {
  for (script_buffer::mode mode : both_modes) {
    for (const input_case& c : input_cases) {
      check::set_case(c.name);
      script_buffer buffer(c.input, mode);
      std::istream in(&buffer);
      char result[32] = "";
      c.run(in, result);
      CHECK_TEXT(result, c.result);
      CHECK_EQ(in.gcount(), c.gcount);
      CHECK_EQ(in.rdstate(), c.state);
      CHECK_TEXT(buffer.rest(), c.rest);
    }
  }
}

void check_pushback() {
  check::set_case("unget after a read, within the area");
  script_buffer area("xy", script_buffer::areas);
  std::istream in(&area);
  char result[4] = "";
  unget_after_read(in, result);
  CHECK_TEXT(result, "x");
  CHECK_EQ(in.rdstate(), good);

  check::set_case("putback into a buffer that cannot");
  script_buffer trickle("yz");
  std::istream t(&trickle);
  t.get();
  t.putback('z');
  CHECK_EQ(t.rdstate(), bad);
  CHECK_EQ(trickle.pushed_back, 'z');

  check::set_case("putback clears eofbit first");
  script_buffer ended("a", script_buffer::areas);
  std::istream e(&ended);
  e.get();
  e.get();
  CHECK_EQ(e.rdstate(), eof | fail);
  e.clear(ios_base::eofbit);
  e.putback('a');
  CHECK_EQ(e.rdstate(), good);
  CHECK_EQ(e.get(), 'a');

  check::set_case("unget asks pbackfail(-1)");
  script_buffer taker("q");
  taker.accept_pushback = true;
  std::istream u(&taker);
  u.get();
  u.unget();
  CHECK_EQ(taker.pushed_back, -1);
  CHECK_EQ(u.rdstate(), good);
  CHECK_EQ(u.gcount(), 0);
}

void check_readsome() {
  check::set_case("readsome from the area");
  script_buffer area("abcdef", script_buffer::areas);
  std::istream in(&area);
  char out[8];
  CHECK_EQ(in.readsome(out, 4), 4);
  CHECK_EQ(in.readsome(out, 8), 2);

  check::set_case("readsome with showmanyc -1");
  script_buffer none("abc");
  none.showmany_result = -1;
  std::istream n(&none);
  CHECK_EQ(n.readsome(out, 4), 0);
  CHECK_EQ(n.rdstate(), eof);

  check::set_case("readsome with showmanyc 0");
  script_buffer zero("abc");
  std::istream z(&zero);
  CHECK_EQ(z.readsome(out, 4), 0);
  CHECK_EQ(z.rdstate(), good);
  CHECK_TEXT(zero.rest(), "abc");

  check::set_case("readsome with showmanyc 2");
  script_buffer two("abc");
  two.showmany_result = 2;
  std::istream w(&two);
  CHECK_EQ(w.readsome(out, 4), 2);
  CHECK_TEXT(two.rest(), "c");
}

void check_sentry() {
  check::set_case("skipws skips the six white-space bytes only");
  script_buffer ws("\t\n\v\f\r \xa0x", script_buffer::areas);
  std::istream in(&ws);
  std::istream::sentry skipping(in);
  CHECK(static_cast<bool>(skipping));
  CHECK_TEXT(ws.rest(), "\xa0x");

  check::set_case("noskipws skips nothing");
  script_buffer keep("  x", script_buffer::areas);
  std::istream k(&keep);
  std::istream::sentry noskip(k, true);
  CHECK(static_cast<bool>(noskip));
  CHECK_TEXT(keep.rest(), "  x");

  check::set_case("only white space up to end of file");
  script_buffer blank("   ");
  std::istream b(&blank);
  std::istream::sentry ended(b);
  CHECK(!static_cast<bool>(ended));
  CHECK_EQ(b.rdstate(), eof | fail);

  check::set_case("failed state");
  script_buffer failed("x");
  std::istream f(&failed);
  f.setstate(ios_base::eofbit);
  std::istream::sentry refused(f, true);
  CHECK(!static_cast<bool>(refused));
  CHECK_EQ(f.rdstate(), eof | fail);

  check::set_case("a tie whose sync fails gets badbit; input proceeds");
  script_buffer tied_buffer;
  tied_buffer.sync_result = -1;
  std::ostream tied(&tied_buffer);
  script_buffer source("ab");
  std::istream t(&source);
  t.tie(&tied);
  CHECK_EQ(t.get(), 'a');
  CHECK_EQ(tied.rdstate(), bad);
  CHECK_EQ(t.rdstate(), good);
  CHECK_EQ(tied_buffer.sync_calls, 1);

  check::set_case("a stream without a buffer");
  std::istream none(0);
  CHECK_EQ(none.rdstate(), bad);
  CHECK_EQ(none.get(), -1);
  CHECK_EQ(none.rdstate(), bad | eof | fail);
  CHECK_EQ(none.sync(), -1);
}

void check_positioning() {
  check::set_case("seekg clears eofbit first");
  script_buffer buffer("abc");
  std::istream in(&buffer);
  in.setstate(ios_base::eofbit);
  in.seekg(2, ios_base::beg);
  CHECK_EQ(in.rdstate(), good);
  CHECK_EQ(buffer.seek_calls, 1);

  check::set_case("seekg reported -1");
  buffer.seek_result = -1;
  in.seekg(std::streampos(4));
  CHECK_EQ(in.rdstate(), fail);

  check::set_case("tellg on a failed stream");
  int before = buffer.seek_calls;
  CHECK_EQ(in.tellg().offset, -1);
  CHECK_EQ(buffer.seek_calls, before);

  check::set_case("tellg");
  script_buffer fresh("x");
  fresh.seek_result = 12;
  std::istream f(&fresh);
  CHECK_EQ(f.tellg().offset, 12);

  check::set_case("sync");
  CHECK_EQ(f.sync(), 0);
  fresh.sync_result = -1;
  CHECK_EQ(f.sync(), -1);
  CHECK_EQ(f.rdstate(), bad);
}

void check_buffer_extractor() {
  check::set_case("extract into a buffer, skipping leading white space");
  script_buffer source("  moved text", script_buffer::areas);
  std::istream in(&source);
  script_buffer target;
  in >> static_cast<std::basic_streambuf<char>*>(&target);
  CHECK_TEXT(target.written(), "moved text");
  CHECK_EQ(in.gcount(), 10);
  CHECK_EQ(in.rdstate(), eof);

  check::set_case("destination refusing: the character stays");
  script_buffer source2("abc");
  std::istream in2(&source2);
  script_buffer small;
  small.output_limit = 1;
  in2 >> static_cast<std::basic_streambuf<char>*>(&small);
  CHECK_TEXT(source2.rest(), "bc");
  CHECK_EQ(in2.rdstate(), good);

  check::set_case("nothing transferred");
  script_buffer source3("abc");
  std::istream in3(&source3);
  script_buffer closed;
  closed.output_limit = 0;
  in3 >> static_cast<std::basic_streambuf<char>*>(&closed);
  CHECK_EQ(in3.rdstate(), fail);

  check::set_case("null destination");
  script_buffer source4("abc");
  std::istream in4(&source4);
  in4 >> static_cast<std::basic_streambuf<char>*>(0);
  CHECK_EQ(in4.rdstate(), bad);

  check::set_case("get(streambuf&)");
  script_buffer source5("line\nnext");
  std::istream in5(&source5);
  script_buffer target5;
  in5.get(target5);
  CHECK_TEXT(target5.written(), "line");
  CHECK_EQ(in5.gcount(), 4);
  CHECK_TEXT(source5.rest(), "\nnext");
  in5.get(target5);
  CHECK_EQ(in5.rdstate(), fail);
}

std::istream& skip_one(std::istream& in) {
  in.ignore();
  return in;
}

void check_manipulator() {
  check::set_case("manipulator extractor");
  script_buffer source("ab");
  std::istream in(&source);
  in >> skip_one;
  CHECK_TEXT(source.rest(), "b");
}

// A buffer whose every input step throws, as a game's buffer may.
struct throwing_buffer : script_buffer {
  int underflow() override { throw 8; }
  int uflow() override { throw 9; }
};

// An exception from the buffer passes through the input operations to their
// caller and leaves the stream's state as it was.
void check_exceptions_pass_through() {
  struct {
    const char* name;
    void (*run)(std::istream&, char* result);
    int thrown;
  } const cases[] = {
      {"get", get_one, 9},
      {"getline", getline10, 8},
      {"peek", peek_twice, 8},
      {"ignore", ignore_one, 8},
      {"read", read4, 9},
  };
  for (const auto& c : cases) {
    check::set_case(c.name);
    throwing_buffer buffer;
    std::istream in(&buffer);
    char result[32];
    int caught = 0;
    try {
      c.run(in, result);
    } catch (int thrown) {
      caught = thrown;
    }
    CHECK_EQ(caught, c.thrown);
    CHECK_EQ(in.rdstate(), good);
  }
}

}

int main() {
  check_exceptions_pass_through();
  check_unformatted_input();
  check_pushback();
  check_readsome();
  check_sentry();
  check_positioning();
  check_buffer_extractor();
  check_manipulator();
  return check::finish();
}
