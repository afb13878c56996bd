// The string buffer's pointer rules, as game code built against the old
// headers sees them: it reads the six area pointers after every call and
// calls _M_sync, _M_stringbuf_init and _M_update_egptr itself.
#include "check.h"
#include "string_streams.h"
#include "string_text.h"

namespace {

using std::ios_base;
using std::stringbuf;

const ios_base::openmode in = ios_base::in;
const ios_base::openmode out = ios_base::out;
const ios_base::openmode in_out = ios_base::openmode(in | out);

ios_base::openmode modes(int bits) { return ios_base::openmode(bits); }

// An area pointer left as it was before the call.
const int kept = -1000;

// Distinct addresses the pointers hold before a call, to see which it set.
char before_call[6];

void mark_areas(stringbuf& b) {
  b.get_begin = before_call + 0;
  b.get_next = before_call + 1;
  b.get_end = before_call + 2;
  b.put_begin = before_call + 3;
  b.put_next = before_call + 4;
  b.put_end = before_call + 5;
}

// The six pointers as offsets from base (get begin, next, end, put begin,
// next, end), or kept.
struct areas {
  int at[6];
};

void expect_areas(const stringbuf& b, const char* base, const areas& want) {
  char* const got[6] = {b.get_begin, b.get_next, b.get_end, b.put_begin, b.put_next, b.put_end};
  static const char* const names[6] = {"get_begin", "get_next", "get_end", "put_begin", "put_next", "put_end"};
  for (int k = 0; k < 6; ++k) {
    if (want.at[k] == kept) {
      if (got[k] != before_call + k) check::fail(__FILE__, __LINE__, names[k]);
    } else {
      check::equal(__FILE__, __LINE__, names[k], got[k] - base, want.at[k]);
    }
  }
}

// A buffer over "abcdef" whose held string has length 6 and capacity 20,
// so that the get end (length) and put end (capacity) differ.
struct six_in_twenty {
  six_in_twenty() : b(text("abcdef"), in_out) { b.held_string.reserve(20); }
  char* data() const { return const_cast<char*>(chars_of(b.held_string)); }
  stringbuf b;
};

void check_sync() {
  char array[16] = "0123456789";
  struct sync_case {
    const char* name;
    int mode;
    bool own_storage;  // base is the held string's data, else the caller's array
    unsigned i, o;
    areas want;
  };
  const sync_case cases[] = {
      {"in: get area over the length", in, true, 2, 3, {{0, 2, 6, kept, kept, kept}}},
      {"in|out: put area over the capacity", in_out, true, 2, 3, {{0, 2, 6, 0, 3, 20}}},
      {"out: get pointers at the length", out, true, 2, 3, {{6, 6, 6, 0, 3, 20}}},
      {"out|app", out | ios_base::app, true, 1, 4, {{6, 6, 6, 0, 4, 20}}},
      {"neither in nor out: nothing", ios_base::app | ios_base::ate, true, 2, 3,
       {{kept, kept, kept, kept, kept, kept}}},
      {"caller's array, in|out: both ends at length + i", in_out, false, 4, 1, {{0, 0, 10, 0, 1, 10}}},
      {"caller's array, in", in, false, 4, 1, {{0, 0, 10, kept, kept, kept}}},
      {"caller's array, out", out, false, 4, 1, {{10, 10, 10, 0, 1, 10}}},
  };
  for (const sync_case& c : cases) {
    check::set_case(c.name);
    six_in_twenty s;
    s.b.open_mode = modes(c.mode);
    mark_areas(s.b);
    char* base = c.own_storage ? s.data() : array;
    s.b._M_sync(base, c.i, c.o);
    expect_areas(s.b, base, c.want);
    CHECK(holds(s.b.held_string, "abcdef"));
  }
}

void check_stringbuf_init() {
  struct init_case {
    const char* name;
    int mode;
    areas want;
  };
  const init_case cases[] = {
      {"in", in, {{0, 0, 6, kept, kept, kept}}},
      {"out writes from the start", out, {{6, 6, 6, 0, 0, 20}}},
      {"out|ate writes at the end", out | ios_base::ate, {{6, 6, 6, 0, 6, 20}}},
      {"out|app writes at the end", out | ios_base::app, {{6, 6, 6, 0, 6, 20}}},
      {"in|out", in_out, {{0, 0, 6, 0, 0, 20}}},
      {"in|out|ate", in_out | ios_base::ate, {{0, 0, 6, 0, 6, 20}}},
      {"in|app: no put area", in | ios_base::app, {{0, 0, 6, kept, kept, kept}}},
  };
  for (const init_case& c : cases) {
    check::set_case(c.name);
    six_in_twenty s;
    mark_areas(s.b);
    s.b._M_stringbuf_init(modes(c.mode));
    CHECK_EQ(s.b.open_mode, c.mode);
    expect_areas(s.b, s.data(), c.want);
  }
}

void check_update_egptr() {
  struct update_case {
    const char* name;
    int mode;
    int put_next;  // offset, or -1 for null
    areas want;
  };
  // Before the call: get area [0, 1, 3), put area [0, put_next, 20).
  const update_case cases[] = {
      {"in|out, put_next past get_end: get_end follows", in_out, 5, {{0, 1, 5, 0, 5, 20}}},
      {"out, put_next past get_end: the whole get area follows", out, 5, {{5, 5, 5, 0, 5, 20}}},
      {"put_next at get_end: nothing", in_out, 3, {{0, 1, 3, 0, 3, 20}}},
      {"put_next below get_end: nothing", out, 2, {{0, 1, 3, 0, 2, 20}}},
  };
  for (const update_case& c : cases) {
    check::set_case(c.name);
    six_in_twenty s;
    s.b.open_mode = modes(c.mode);
    char* base = s.data();
    s.b.setg(base, base + 1, base + 3);
    s.b.setp(base, base + 20);
    s.b.pbump(c.put_next);
    s.b._M_update_egptr();
    expect_areas(s.b, base, c.want);
  }

  check::set_case("null put_next: nothing");
  six_in_twenty s;
  s.b.open_mode = in;
  char* base = s.data();
  s.b.setg(base, base + 1, base + 3);
  s.b.setp(0, 0);
  s.b._M_update_egptr();
  CHECK_EQ(s.b.get_end - base, 3);
  CHECK_EQ(s.b.get_begin - base, 0);
  CHECK(s.b.put_next == 0);
}

void fill(stringbuf& b, int count, int first) {
  for (int k = 0; k < count; ++k) CHECK_EQ(b.sputc(static_cast<char>('a' + (first + k) % 26)), 'a' + (first + k) % 26);
}

bool holds_alphabet_run(const std::string& s, size_t count) {
  if (length_of(s) != count) return false;
  for (size_t k = 0; k < count; ++k)
    if (chars_of(s)[k] != 'a' + static_cast<int>(k % 26)) return false;
  return true;
}

void check_growth() {
  check::set_case("first write: capacity 512, length 1");
  {
    stringbuf b(out);
    CHECK(b.put_next == 0);
    CHECK_EQ(b.sputc('a'), 'a');
    const char* base = chars_of(b.held_string);
    CHECK_EQ(capacity_of(b.held_string), 512);
    CHECK_EQ(length_of(b.held_string), 1);
    expect_areas(b, base, {{1, 1, 1, 0, 1, 512}});

    check::set_case("writes fill the spare capacity in place, then the capacity doubles");
    fill(b, 511, 1);
    CHECK(chars_of(b.held_string) == base);
    CHECK_EQ(length_of(b.held_string), 1);  // the recorded length lags behind
    CHECK_EQ(b.put_next - base, 512);
    fill(b, 1, 512);
    CHECK(chars_of(b.held_string) != base);
    CHECK_EQ(capacity_of(b.held_string), 1024);
    CHECK_EQ(length_of(b.held_string), 513);
    fill(b, 1024 - 513 + 1, 513);
    CHECK_EQ(capacity_of(b.held_string), 2048);
    CHECK_EQ(length_of(b.held_string), 1025);
    fill(b, 2048 - 1025 + 1, 1025);
    CHECK(capacity_of(b.held_string) >= 4096);
    CHECK(holds_alphabet_run(b.str(), 2049));
  }

  check::set_case("in|out growth moves all six pointers keeping their offsets");
  {
    stringbuf b(in_out);
    fill(b, 512, 0);
    char got[100];
    CHECK_EQ(b.sgetn(got, 100), 100);
    CHECK_EQ(got[99], 'a' + 99 % 26);
    const char* old_base = chars_of(b.held_string);
    CHECK_EQ(b.sputc('!'), '!');
    const char* base = chars_of(b.held_string);
    CHECK(base != old_base);
    expect_areas(b, base, {{0, 100, 513, 0, 513, 1024}});
    CHECK_EQ(base[512], '!');
    CHECK_EQ(b.sgetc(), 'a' + 100 % 26);
  }

  check::set_case("growth out of a caller's array keeps the array's characters");
  {
    stringbuf b(in_out);
    char array[8];
    memcpy(array, "ABCDEFGH", 8);
    b.pubsetbuf(array, 8);
    CHECK_EQ(b.sbumpc(), 'A');
    CHECK_EQ(b.sbumpc(), 'B');
    CHECK_EQ(b.sputn("12345678", 8), 8);
    CHECK(memcmp(array, "12345678", 8) == 0);
    CHECK_EQ(b.sputc('9'), '9');
    const char* base = chars_of(b.held_string);
    CHECK(holds(b.held_string, "123456789"));
    CHECK_EQ(capacity_of(b.held_string), 512);
    expect_areas(b, base, {{0, 2, 9, 0, 9, 512}});
    CHECK(holds(b.str(), "123456789"));
  }

  check::set_case("overflow: end of file and a buffer without out");
  {
    stringbuf b(in_out);
    fill(b, 3, 0);
    char* next = b.put_next;
    CHECK_EQ(b.overflow(-1), 0);
    CHECK(b.put_next == next);
    stringbuf reading(text("xy"), in);
    CHECK_EQ(reading.overflow('z'), -1);
    CHECK_EQ(reading.sputc('z'), -1);
    CHECK(holds(reading.held_string, "xy"));
  }
}

// Seeks on a buffer over "hello world" (11 characters); where the mode has
// them, the get position is 2 and the put position 5 before the seek.
struct seek_case {
  const char* name;
  int mode;
  long long off;
  int way;
  int which;
  long long result;
  int get_after;  // offset of get_next afterwards (kept: not checked)
  int put_after;
};

void prepare(stringbuf& b) {
  if (b.open_mode & in) b.gbump(2);
  if (b.open_mode & out) b.pbump(5);
}

void check_seekoff() {
  const int beg = ios_base::beg, cur = ios_base::cur, end = ios_base::end;
  const seek_case cases[] = {
      {"cur seek of both sides refused", in_out, 1, cur, in_out, -1, 2, 5},
      {"cur seek of both sides by 0 refused too", in_out, 0, cur, in_out, -1, 2, 5},
      {"beg seek of both sides", in_out, 3, beg, in_out, 3, 3, 3},
      {"end seek of both sides", in_out, -1, end, in_out, 10, 10, 10},
      {"cur seek of the input side", in_out, 1, cur, in, 3, 3, 5},
      {"cur seek of the output side", in_out, -2, cur, out, 3, 2, 3},
      {"end seek of the output side", in_out, 0, end, out, 11, 2, 11},
      {"end seek of the input side back to the start", in_out, -11, end, in, 0, 0, 5},
      {"beyond the high-water mark: refused, nothing moved", in_out, 12, beg, in, -1, 2, 5},
      {"before the start: refused, nothing moved", in_out, -3, cur, in, -1, 2, 5},
      {"both sides beyond the mark: nothing moved", in_out, 1, end, in_out, -1, 2, 5},
      {"any other direction counts as beg", in_out, 4, 7, in, 4, 4, 5},
      {"a 64-bit offset is not cut to 32 bits", in_out, 0x100000003LL, beg, in, -1, 2, 5},
      {"an offset that would overflow 64 bits", in_out, 0x7fffffffffffffffLL, cur, out, -1, 2, 5},
      {"in: end seek", in, 0, end, in, 11, 11, kept},
      {"in: output side not open", in, 0, beg, out, -1, 2, kept},
      {"in: both asked, only input open", in, 0, beg, in_out, -1, 2, kept},
      {"out: cur seek of the output side", out, 0, cur, out, 5, kept, 5},
      {"out: input side not open", out, 1, beg, in, -1, kept, 5},
      {"out: both asked, only output open", out, 2, beg, in_out, -1, kept, 5},
      {"out: end seek reaches the length", out, -1, end, out, 10, kept, 10},
  };
  for (const seek_case& c : cases) {
    check::set_case(c.name);
    stringbuf b(text("hello world"), modes(c.mode));
    prepare(b);
    const char* base = chars_of(b.held_string);
    std::streampos got = b.pubseekoff(c.off, ios_base::seekdir(c.way), modes(c.which));
    CHECK_EQ(got.offset, c.result);
    if (c.get_after != kept) CHECK_EQ(b.get_next - base, c.get_after);
    if (c.put_after != kept) CHECK_EQ(b.put_next - base, c.put_after);
  }

  check::set_case("the high-water mark is taken from put_next");
  {
    stringbuf b(in_out);
    fill(b, 6, 0);
    CHECK_EQ(b.get_end - b.get_begin, 1);  // not yet brought up to date
    CHECK_EQ(b.pubseekoff(4, ios_base::beg, in).offset, 4);
    CHECK_EQ(b.get_end - b.get_begin, 6);
    CHECK_EQ(b.sgetc(), 'e');
    CHECK_EQ(b.pubseekoff(7, ios_base::beg, in).offset, -1);
    CHECK_EQ(b.get_next - b.get_begin, 4);
  }

  check::set_case("seek on a buffer without areas: only offset 0");
  {
    stringbuf b(in_out);
    CHECK_EQ(b.pubseekoff(0, ios_base::beg, in).offset, 0);
    CHECK_EQ(b.pubseekoff(0, ios_base::cur, out).offset, 0);
    CHECK_EQ(b.pubseekoff(1, ios_base::beg, in).offset, -1);
    CHECK(b.get_next == 0 && b.put_next == 0);
  }
}

void check_seekpos() {
  const seek_case cases[] = {
      {"both sides (no cur restriction for positions)", in_out, 4, 0, in_out, 4, 4, 4},
      {"the input side", in_out, 0, 0, in, 0, 0, 5},
      {"the output side up to the mark", in_out, 11, 0, out, 11, 2, 11},
      {"beyond the mark: refused, nothing moved", in_out, 12, 0, in_out, -1, 2, 5},
      {"negative: refused", in_out, -1, 0, in, -1, 2, 5},
      {"a 64-bit offset is not cut to 32 bits", in_out, 0x100000003LL, 0, in, -1, 2, 5},
      {"in: both asked, the input side moves", in, 3, 0, in_out, 3, 3, kept},
      {"in: output side not open", in, 3, 0, out, -1, 2, kept},
      {"out: input side not open", out, 3, 0, in, -1, kept, 5},
      {"out: both asked, the output side moves", out, 3, 0, in_out, 3, kept, 3},
  };
  for (const seek_case& c : cases) {
    check::set_case(c.name);
    stringbuf b(text("hello world"), modes(c.mode));
    prepare(b);
    const char* base = chars_of(b.held_string);
    std::streampos pos(c.off);
    memset(pos.conversion_state.__mbstate8, 0x5a, sizeof pos.conversion_state.__mbstate8);
    std::streampos got = b.pubseekpos(pos, modes(c.which));
    CHECK_EQ(got.offset, c.result);
    // A success hands back the whole position, state included; the failure
    // position has a zero state.
    CHECK_EQ(static_cast<unsigned char>(got.conversion_state.__mbstate8[127]), c.result == -1 ? 0 : 0x5a);
    if (c.get_after != kept) CHECK_EQ(b.get_next - base, c.get_after);
    if (c.put_after != kept) CHECK_EQ(b.put_next - base, c.put_after);
  }

  check::set_case("seekpos without areas: only offset 0");
  stringbuf b(out);
  CHECK_EQ(b.pubseekpos(std::streampos(0), out).offset, 0);
  CHECK_EQ(b.pubseekpos(std::streampos(1), out).offset, -1);
}

void check_pbackfail() {
  struct pbackfail_case {
    const char* name;
    int mode;
    int get_next;
    int c;
    int result;
    int get_after;
    const char* content;
  };
  const pbackfail_case cases[] = {
      {"same character: steps back", in, 2, 'b', 'b', 1, "abc"},
      {"end of file: steps back, returns 0", in, 2, -1, 0, 1, "abc"},
      {"different character, read-only: refused", in, 2, 'x', -1, 2, "abc"},
      {"different character, in|out: overwrites", in_out, 2, 'x', 'x', 1, "axc"},
      {"at the start: refused", in_out, 0, 'x', -1, 0, "abc"},
      {"at the start, end of file: refused", in, 0, -1, -1, 0, "abc"},
  };
  for (const pbackfail_case& c : cases) {
    check::set_case(c.name);
    stringbuf b(text("abc"), modes(c.mode));
    b.gbump(c.get_next);
    CHECK_EQ(b.pbackfail(c.c), c.result);
    CHECK_EQ(b.get_next - b.get_begin, c.get_after);
    CHECK(holds(b.str(), c.content));
  }
  check::set_case("sputbackc of a different character through the buffer");
  stringbuf reading(text("abc"), in);
  reading.gbump(1);
  CHECK_EQ(reading.sputbackc('q'), -1);
  CHECK(holds(reading.held_string, "abc"));
}

void check_setbuf() {
  check::set_case("setbuf(null, 5) and setbuf(p, -1) change nothing");
  {
    stringbuf b(text("hello"), in_out);
    b.gbump(1);
    b.pbump(2);
    char* const saved[6] = {b.get_begin, b.get_next, b.get_end, b.put_begin, b.put_next, b.put_end};
    char array[4];
    CHECK(b.pubsetbuf(0, 5) == &b);
    CHECK(b.pubsetbuf(array, -1) == &b);
    char* const now[6] = {b.get_begin, b.get_next, b.get_end, b.put_begin, b.put_next, b.put_end};
    for (int k = 0; k < 6; ++k) CHECK(now[k] == saved[k]);
    CHECK(holds(b.held_string, "hello"));
  }

  check::set_case("setbuf: the buffer reads and writes the caller's array");
  {
    stringbuf b(text("hello"), in_out);
    char array[6] = "wxyz!";
    CHECK(b.pubsetbuf(array, 5) == &b);
    CHECK_EQ(length_of(b.held_string), 0);
    expect_areas(b, array, {{0, 0, 5, 0, 0, 5}});
    CHECK_EQ(b.sbumpc(), 'w');
    CHECK_EQ(b.sputc('W'), 'W');
    CHECK_EQ(array[0], 'W');
    CHECK(holds(b.str(), "Wxyz!"));
  }

  check::set_case("setbuf with an empty array: the first write grows");
  {
    stringbuf b(out);
    char array[1];
    b.pubsetbuf(array, 0);
    CHECK(b.put_begin == array && b.put_end == array);
    CHECK_EQ(b.sputc('q'), 'q');
    CHECK(holds(b.str(), "q"));
  }
}

void check_str() {
  check::set_case("str() of a buffer without a put area shares the held representation");
  {
    stringbuf b(text("abc"), in);
    CHECK(b.put_next == 0);
    char got[2];
    b.sgetn(got, 2);
    std::string s = b.str();
    CHECK(chars_of(s) == chars_of(b.held_string));
    CHECK_EQ(ref_count_of(s), 1);
    CHECK(holds(s, "abc"));
  }

  check::set_case("str() with a put area copies up to the high-water mark");
  {
    stringbuf b(text("abc"), in_out);
    b.sputn("XYZW", 4);
    std::string s = b.str();
    CHECK(chars_of(s) != chars_of(b.held_string));
    CHECK_EQ(ref_count_of(b.held_string), 0);
    CHECK(holds(s, "XYZW"));
    b.pubseekoff(1, ios_base::beg, out);
    CHECK(holds(b.str(), "XYZW"));  // the mark stays where the writes reached
  }

  check::set_case("the held string never shares the source's representation");
  {
    std::string source = text("shared?");
    stringbuf b(source, in);
    CHECK(chars_of(b.held_string) != chars_of(source));
    CHECK_EQ(ref_count_of(source), 0);
    std::string other = text("next");
    b.str(other);
    CHECK(chars_of(b.held_string) != chars_of(other));
    CHECK_EQ(ref_count_of(other), 0);
    CHECK(holds(b.held_string, "next"));
  }

  check::set_case("str(s) discards the content and all positions, keeps the mode");
  {
    stringbuf b(text("long old content"), modes(in_out | ios_base::ate));
    b.gbump(3);
    b.sputn("++", 2);
    b.str(text("new"));
    CHECK_EQ(b.open_mode, in_out | ios_base::ate);
    const char* base = chars_of(b.held_string);
    expect_areas(b, base, {{0, 0, 3, 0, 3, static_cast<int>(capacity_of(b.held_string))}});
    CHECK(holds(b.str(), "new"));
  }

  check::set_case("a default-constructed buffer holds the empty string, without areas");
  {
    stringbuf b(in_out);
    CHECK(b.get_begin == 0 && b.get_next == 0 && b.get_end == 0);
    CHECK(b.put_begin == 0 && b.put_next == 0 && b.put_end == 0);
    CHECK_EQ(b.open_mode, in_out);
    CHECK_EQ(length_of(b.str()), 0);
    CHECK_EQ(b.sgetc(), -1);
  }
}

void check_reading() {
  check::set_case("underflow and showmanyc of an output-only buffer");
  {
    stringbuf b(text("abc"), out);
    CHECK_EQ(b.underflow(), -1);
    CHECK_EQ(b.in_avail(), -1);
  }

  check::set_case("written characters become readable");
  {
    stringbuf b(in_out);
    b.sputn("hi\xff", 3);
    CHECK_EQ(b.in_avail(), 1);  // the get area still ends where the first write left it
    CHECK_EQ(b.sbumpc(), 'h');
    CHECK_EQ(b.showmanyc(), 2);
    CHECK_EQ(b.sbumpc(), 'i');
    CHECK_EQ(b.underflow(), 0xff);  // a byte, never end of file
    CHECK_EQ(b.sbumpc(), 0xff);
    CHECK_EQ(b.underflow(), -1);
    CHECK_EQ(b.showmanyc(), 0);
  }
}

}

int main() {
  check_sync();
  check_stringbuf_init();
  check_update_egptr();
  check_growth();
  check_seekoff();
  check_seekpos();
  check_pbackfail();
  check_setbuf();
  check_str();
  check_reading();
  return check::finish();
}
