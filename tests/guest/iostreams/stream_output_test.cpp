// std::ostream: the output sentry (tie flush, failed state, unit-buffered
// end step), put, write, flush, positioning, the stream-buffer inserter and
// the manipulators.
#include "check.h"
#include "script_buffer.h"

namespace {

using std::ios_base;

void put_x(std::ostream& o) { o.put('x'); }
void write_abc(std::ostream& o) { o.write("abc", 3); }
void insert_number(std::ostream& o) { o << 12; }
void insert_text(std::ostream& o) { std::__ostream_insert(o, "hey", 3); }
void insert_endl(std::ostream& o) { std::endl(o); }

struct operation {
  const char* name;
  void (*run)(std::ostream&);
  const char* writes;
};

const operation operations[] = {
    {"put", put_x, "x"},
    {"write", write_abc, "abc"},
    {"integer inserter", insert_number, "12"},
    {"text inserter", insert_text, "hey"},
    {"endl", insert_endl, "\n"},
};

void check_sentry_rules() {
  for (const operation& op : operations) {
    check::set_case(op.name);

    // A failed stream writes nothing, adds failbit and leaves its tie alone.
    {
      script_buffer tied_buffer;
      std::ostream tied(&tied_buffer);
      script_buffer buffer("", script_buffer::areas);
      std::ostream out(&buffer);
      out.tie(&tied);
      out.setstate(ios_base::failbit);
      op.run(out);
      CHECK_TEXT(buffer.written(), "");
      CHECK_EQ(out.rdstate(), ios_base::failbit);
      CHECK_EQ(tied_buffer.sync_calls, 0);
    }
    // A tied stream whose sync fails gets badbit; the operation proceeds.
    {
      script_buffer tied_buffer;
      tied_buffer.sync_result = -1;
      std::ostream tied(&tied_buffer);
      script_buffer buffer("", script_buffer::areas);
      std::ostream out(&buffer);
      out.tie(&tied);
      op.run(out);
      CHECK_TEXT(buffer.written(), op.writes);
      CHECK_EQ(tied.rdstate(), ios_base::badbit);
      CHECK_EQ(out.rdstate(), 0);
      CHECK_EQ(tied_buffer.sync_calls, 1);
    }
    // With unitbuf every operation ends with exactly one sync (endl has its
    // own flush step as well, which runs whatever put did); a failed stream
    // makes no end-step sync.
    {
      script_buffer buffer("", script_buffer::areas);
      std::ostream out(&buffer);
      out.setf(ios_base::unitbuf);
      op.run(out);
      CHECK_EQ(buffer.sync_calls, op.run == insert_endl ? 2 : 1);
      script_buffer failed_buffer("", script_buffer::areas);
      std::ostream failed(&failed_buffer);
      failed.setf(ios_base::unitbuf);
      failed.setstate(ios_base::eofbit);
      op.run(failed);
      CHECK_EQ(failed_buffer.sync_calls, op.run == insert_endl ? 1 : 0);
    }
    // The end step's failing sync sets badbit.
    {
      script_buffer buffer("", script_buffer::areas);
      buffer.sync_result = -1;
      std::ostream out(&buffer);
      out.setf(ios_base::unitbuf);
      op.run(out);
      CHECK_EQ(out.rdstate(), ios_base::badbit);
    }
  }
}

void check_sentry_object() {
  check::set_case("sentry object");
  script_buffer buffer;
  std::ostream out(&buffer);
  {
    std::ostream::sentry good(out);
    CHECK(static_cast<bool>(good));
    CHECK(good.sentry_stream == &out);
  }
  out.setstate(ios_base::eofbit);
  std::ostream::sentry bad(out);
  CHECK(!static_cast<bool>(bad));
  CHECK_EQ(out.rdstate(), ios_base::eofbit | ios_base::failbit);
}

void check_writes() {
  check::set_case("write to a buffer taking 3 bytes");
  script_buffer buffer;
  buffer.output_limit = 3;
  std::ostream out(&buffer);
  out.write("hello", 5);
  CHECK_EQ(out.rdstate(), ios_base::badbit);
  CHECK_TEXT(buffer.written(), "hel");

  check::set_case("put into a full buffer");
  script_buffer full;
  full.output_limit = 0;
  std::ostream full_out(&full);
  full_out.put('a');
  CHECK_EQ(full_out.rdstate(), ios_base::badbit);

  check::set_case("_M_write short count");
  script_buffer two;
  two.output_limit = 2;
  std::ostream two_out(&two);
  two_out._M_write("abc", 3);
  CHECK_EQ(two_out.rdstate(), ios_base::badbit);

  check::set_case("put and write through the put area");
  script_buffer area("", script_buffer::areas);
  std::ostream area_out(&area);
  area_out.put('\xff').write("yz", 2);
  CHECK_TEXT(area.written(), "\xffyz");
}

void check_flush() {
  check::set_case("flush without a buffer");
  std::ostream none(0);
  CHECK_EQ(none.rdstate(), ios_base::badbit);
  none.flush();
  CHECK_EQ(none.rdstate(), ios_base::badbit);

  check::set_case("flush with a failing sync");
  script_buffer buffer;
  buffer.sync_result = -1;
  std::ostream out(&buffer);
  out.flush();
  CHECK_EQ(out.rdstate(), ios_base::badbit);
  CHECK_EQ(buffer.sync_calls, 1);

  check::set_case("flush manipulator and ends");
  script_buffer area("", script_buffer::areas);
  std::ostream area_out(&area);
  area_out << std::flush << std::ends;
  CHECK_EQ(area.sync_calls, 1);
  CHECK_EQ(area.put_next - area.put_begin, 1);
  CHECK_EQ(area.put_begin[0], '\0');

  check::set_case("endl on a buffer refusing the line feed");
  script_buffer refusing;
  refusing.output_limit = 0;
  refusing.sync_result = -1;
  std::ostream refusing_out(&refusing);
  refusing_out << std::endl;
  CHECK_EQ(refusing.sync_calls, 1);
  CHECK_EQ(refusing_out.rdstate(), ios_base::badbit);
}

void check_positioning() {
  check::set_case("seekp keeps eofbit and seeks");
  script_buffer buffer;
  std::ostream out(&buffer);
  out.setstate(ios_base::eofbit);
  out.seekp(7, ios_base::beg);
  CHECK_EQ(buffer.seek_calls, 1);
  CHECK_EQ(out.rdstate(), ios_base::eofbit);
  out.seekp(std::streampos(9));
  CHECK_EQ(buffer.seek_calls, 2);

  check::set_case("seekp reported -1");
  buffer.seek_result = -1;
  out.seekp(3, ios_base::cur);
  CHECK_EQ(out.rdstate(), ios_base::eofbit | ios_base::failbit);

  check::set_case("tellp on a failed stream");
  int before = buffer.seek_calls;
  CHECK_EQ(out.tellp().offset, -1);
  CHECK_EQ(buffer.seek_calls, before);

  check::set_case("tellp");
  script_buffer fresh;
  fresh.seek_result = 41;
  std::ostream fresh_out(&fresh);
  CHECK_EQ(fresh_out.tellp().offset, 41);
}

void check_buffer_inserter() {
  check::set_case("copy a whole source");
  script_buffer source("from here", script_buffer::areas);
  script_buffer target;
  std::ostream out(&target);
  out << static_cast<std::basic_streambuf<char>*>(&source);
  CHECK_TEXT(target.written(), "from here");
  CHECK_EQ(out.rdstate(), 0);

  check::set_case("a character leaves the source only when taken");
  script_buffer source2("abcdef");
  script_buffer small;
  small.output_limit = 4;
  std::ostream small_out(&small);
  small_out << static_cast<std::basic_streambuf<char>*>(&source2);
  CHECK_TEXT(small.written(), "abcd");
  CHECK_TEXT(source2.rest(), "ef");
  CHECK_EQ(small_out.rdstate(), 0);

  check::set_case("empty source");
  script_buffer empty;
  script_buffer target2;
  std::ostream out2(&target2);
  out2 << static_cast<std::basic_streambuf<char>*>(&empty);
  CHECK_EQ(out2.rdstate(), ios_base::failbit);

  check::set_case("null source");
  std::ostream out3(&target2);
  out3 << static_cast<std::basic_streambuf<char>*>(0);
  CHECK_EQ(out3.rdstate(), ios_base::badbit);
}

void check_text_inserters() {
  check::set_case("null C string");
  script_buffer buffer("", script_buffer::areas);
  std::ostream out(&buffer);
  out << static_cast<const char*>(0);
  CHECK_EQ(out.rdstate(), ios_base::badbit);
  CHECK_TEXT(buffer.written(), "");

  check::set_case("character with width 3, right and left");
  script_buffer padded("", script_buffer::areas);
  std::ostream p(&padded);
  p.fill('_');
  p.width(3);
  p << 'a';
  CHECK_EQ(p.width(), 0);
  p.setf(ios_base::left, ios_base::adjustfield);
  p.width(3);
  p << 'b';
  p.setf(ios_base::internal, ios_base::adjustfield);
  p.width(3);
  p << "-c";
  CHECK_TEXT(padded.written(), "__ab___-c");

  check::set_case("signed and unsigned character forms");
  script_buffer bytes("", script_buffer::areas);
  std::ostream b(&bytes);
  const unsigned char text[] = "uv";
  b << static_cast<signed char>('s') << static_cast<unsigned char>(0xe9) << text
    << reinterpret_cast<const signed char*>("w");
  CHECK_TEXT(bytes.written(), "s\xe9uvw");
}

std::ostream& mark(std::ostream& o) { return o.put('!'); }
std::ios_base& hexify(std::ios_base& b) {
  b.setf(ios_base::hex, ios_base::basefield);
  return b;
}
std::basic_ios<char>& starfill(std::basic_ios<char>& b) {
  b.fill('*');
  return b;
}

void check_manipulators() {
  check::set_case("manipulator inserters");
  script_buffer buffer("", script_buffer::areas);
  std::ostream out(&buffer);
  out << mark << hexify << starfill;
  out.width(4);
  out << 255;
  CHECK_TEXT(buffer.written(), "!**ff");
}

}

int main() {
  check_sentry_rules();
  check_sentry_object();
  check_writes();
  check_flush();
  check_positioning();
  check_buffer_inserter();
  check_manipulators();
  check_text_inserters();
  return check::finish();
}
