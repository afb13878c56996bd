// std::basic_streambuf<char>: the base's default virtual functions, the
// public members over the areas, and the area pointers game code moves.
#include "check.h"
#include "script_buffer.h"

namespace {

using std::ios_base;
typedef std::basic_streambuf<char> base_buffer;

void check_defaults() {
  check::set_case("default-constructed base");
  base_buffer b;
  CHECK(b.eback() == 0 && b.gptr() == 0 && b.egptr() == 0);
  CHECK(b.pbase() == 0 && b.pptr() == 0 && b.epptr() == 0);
  CHECK_TEXT(b.getloc().locale_name, "C");
  CHECK_EQ(b.sgetc(), -1);
  CHECK_EQ(b.sbumpc(), -1);
  CHECK_EQ(b.snextc(), -1);
  CHECK_EQ(b.sungetc(), -1);
  CHECK_EQ(b.sputbackc('a'), -1);
  CHECK_EQ(b.sputc('x'), -1);
  char text[4];
  CHECK_EQ(b.sgetn(text, 4), 0);
  CHECK_EQ(b.sputn("abcd", 4), 0);
  CHECK_EQ(b.in_avail(), 0);
  CHECK_EQ(b.pubsync(), 0);
  CHECK(b.pubsetbuf(text, 4) == &b);
  CHECK(b.eback() == 0);
  CHECK_EQ(b.pubseekoff(0, ios_base::cur, ios_base::in).offset, -1);
  CHECK_EQ(b.pubseekpos(std::streampos(5), ios_base::in).offset, -1);
  CHECK_EQ(b.pubseekpos(std::streampos(5), ios_base::in).conversion_state._mbstateL, 0);
}

void check_get_area() {
  char text[] = "a\xff" "bc";
  base_buffer b;
  b.setg(text, text, text + 4);
  check::set_case("0xff is a character");
  CHECK_EQ(b.sbumpc(), 'a');
  CHECK_EQ(b.sgetc(), 255);
  CHECK_EQ(b.in_avail(), 3);
  check::set_case("snextc");
  CHECK_EQ(b.snextc(), 'b');
  CHECK_EQ(b.snextc(), 'c');
  CHECK_EQ(b.snextc(), -1);
  CHECK(b.gptr() == text + 4);
  check::set_case("sungetc and sputbackc");
  CHECK_EQ(b.sungetc(), 'c');
  CHECK_EQ(b.sputbackc('b'), 'b');
  CHECK(b.gptr() == text + 2);
  CHECK_EQ(b.sputbackc('z'), -1);
  CHECK(b.gptr() == text + 2);
  check::set_case("gbump and pointers");
  b.gbump(1);
  CHECK(b.gptr() == text + 3);
  CHECK(b.eback() == text && b.egptr() == text + 4);
  check::set_case("xsgetn over the area, then uflow");
  char out[8];
  b.setg(text, text, text + 4);
  CHECK_EQ(b.sgetn(out, 8), 4);
  CHECK_EQ(memcmp(out, text, 4), 0);
}

void check_pushback_failure() {
  check::set_case("sputbackc of a different byte asks pbackfail");
  script_buffer s("xy", script_buffer::areas);
  CHECK_EQ(s.sbumpc(), 'x');
  CHECK_EQ(s.sputbackc('q'), -1);
  CHECK_EQ(s.pushed_back, 'q');
  CHECK_EQ(s.sgetc(), 'y');
  check::set_case("sputbackc of 0xff passes 255");
  CHECK_EQ(s.sputbackc('\xff'), -1);
  CHECK_EQ(s.pushed_back, 255);
  check::set_case("sungetc at the start asks pbackfail(-1)");
  script_buffer start("xy", script_buffer::areas);
  CHECK_EQ(start.sungetc(), -1);
  CHECK_EQ(start.pushed_back, -1);
}

void check_put_area() {
  check::set_case("put area");
  char space[4];
  base_buffer b;
  b.setp(space, space + 4);
  CHECK(b.pbase() == space && b.pptr() == space && b.epptr() == space + 4);
  CHECK_EQ(b.sputc('\xfe'), 254);
  CHECK_EQ(b.sputn("abcdef", 6), 3);
  CHECK_EQ(memcmp(space, "\xfe" "abc", 4), 0);
  b.pbump(-2);
  CHECK(b.pptr() == space + 2);
}

void check_trickle() {
  check::set_case("xsgetn through uflow until end of file");
  script_buffer s("hello");
  char out[16];
  CHECK_EQ(s.sgetn(out, 16), 5);
  CHECK_EQ(memcmp(out, "hello", 5), 0);
  check::set_case("snextc without an area");
  script_buffer t("pq");
  CHECK_EQ(t.snextc(), 'q');
  CHECK_EQ(t.snextc(), -1);
  check::set_case("xsputn through overflow stops at a refusal");
  script_buffer u;
  u.output_limit = 2;
  CHECK_EQ(u.sputn("xyz", 3), 2);
  CHECK_TEXT(u.written(), "xy");
  check::set_case("in_avail asks showmanyc when the area is empty");
  u.showmany_result = 17;
  CHECK_EQ(u.in_avail(), 17);
}

// pubimbue hands the new locale to imbue while the old one is still held.
class imbue_probe : public base_buffer {
public:
  const char* seen_inside = 0;
  void imbue(const std::locale&) override { seen_inside = buffer_locale.locale_name; }
};

void check_imbue() {
  check::set_case("pubimbue");
  imbue_probe p;
  static const char other_name[] = "other";
  std::locale other;
  other.locale_name = other_name;
  std::locale previous = p.pubimbue(other);
  CHECK_TEXT(previous.locale_name, "C");
  CHECK_TEXT(p.seen_inside, "C");
  CHECK_TEXT(p.getloc().locale_name, "other");
}

// A derived buffer whose underflow reports a character without making an
// area: the base uflow has nothing to hand out and reports end of file.
class arealess : public base_buffer {
public:
  int underflow() override { return 'k'; }
};

void check_uflow_without_area() {
  check::set_case("base uflow after an underflow that made no area");
  arealess a;
  CHECK_EQ(a.sbumpc(), -1);
}

}

int main() {
  check_defaults();
  check_get_area();
  check_pushback_failure();
  check_put_area();
  check_trickle();
  check_imbue();
  check_uflow_without_area();
  return check::finish();
}
