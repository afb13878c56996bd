// The three string streams: their shape as game code sees it, the modes
// their buffers get, the behaviours guest code relies on, construction from
// a game's own derived classes, and destruction in every form.
#include "check.h"
#include "string_streams.h"
#include "string_text.h"

namespace {

using std::ios_base;

const int in = ios_base::in, out = ios_base::out, app = ios_base::app, ate = ios_base::ate;

ios_base::openmode modes(int bits) { return ios_base::openmode(bits); }

// Where the basic_ios<char> part lies, as the object's own table says.
long virtual_base_offset(const void* object) { return reinterpret_cast<const long* const*>(object)[0][-3]; }

long distance(const void* from, const void* to) {
  return static_cast<const char*>(to) - static_cast<const char*>(from);
}

// A stream made by one of the library's complete-object constructors.
struct made {
  void* object;
  std::basic_ios<char>* ios;
  std::stringbuf* buffer;  // what the stream's rdbuf() returns
  ios_base* whole;         // for deletion through the virtual thunks
};

// A string stream of type S on the heap, built with or without a string.
template<typename S> made make(int mode, const char* s) {
  S* p = s ? new S(text(s), modes(mode)) : new S(modes(mode));
  return {p, p, p->rdbuf(), p};
}

void check_construction() {
  struct construction_case {
    const char* name;
    made (*make)(int, const char*);
    int mode;
    const char* content;  // null: the constructor without a string
    int virtual_base;
    int buffer_at;
    int buffer_mode;
  };
  const construction_case cases[] = {
      {"istringstream(in)", make<std::istringstream>, in, 0, 48, 8, in},
      {"istringstream(out) adds in", make<std::istringstream>, out, 0, 48, 8, in | out},
      {"istringstream(s, app) adds in", make<std::istringstream>, app, "abc", 48, 8, in | app},
      {"ostringstream(out)", make<std::ostringstream>, out, 0, 44, 4, out},
      {"ostringstream(in) adds out", make<std::ostringstream>, in, 0, 44, 4, in | out},
      {"ostringstream(s, ate) adds out", make<std::ostringstream>, ate, "abc", 44, 4, out | ate},
      {"stringstream(in|out)", make<std::stringstream>, in | out, 0, 52, 12, in | out},
      {"stringstream(in) keeps the mode", make<std::stringstream>, in, "abc", 52, 12, in},
      {"stringstream(s, out|app) keeps the mode", make<std::stringstream>, out | app, "abc", 52, 12, out | app},
  };
  for (const construction_case& c : cases) {
    check::set_case(c.name);
    made m = c.make(c.mode, c.content);
    CHECK_EQ(virtual_base_offset(m.object), c.virtual_base);
    CHECK_EQ(distance(m.object, m.ios), c.virtual_base);
    CHECK_EQ(distance(m.object, m.buffer), c.buffer_at);
    CHECK(m.ios->rdbuf() == m.buffer);
    CHECK_EQ(m.buffer->open_mode, c.buffer_mode);
    // init has run with the member buffer: good state, default formatting.
    CHECK_EQ(m.ios->rdstate(), 0);
    CHECK_EQ(m.ios->format_flags, 0x1002);
    CHECK_EQ(m.ios->float_precision, 6);
    CHECK_EQ(m.ios->field_width, 0);
    CHECK_EQ(m.ios->exception_mask, 0);
    CHECK(m.ios->tied_stream == 0);
    CHECK_EQ(m.ios->fill_set, 0);
    CHECK(holds(m.buffer->str(), c.content ? c.content : ""));
    delete m.whole;
  }
}

void check_streams_read_and_write() {
  check::set_case("ostringstream: numbers and text");
  {
    std::ostringstream s(modes(out));
    s << 42;
    s.put(' ');
    s << -7;
    s.write(" end", 4);
    CHECK(holds(s.str(), "42 -7 end"));
    CHECK_EQ(s.rdstate(), 0);
  }

  check::set_case("istringstream: reading runs out at the end of the string");
  {
    std::istringstream s(text("ab"), modes(in));
    CHECK_EQ(s.get(), 'a');
    char got[4];
    s.read(got, 4);
    CHECK_EQ(s.gcount(), 1);
    CHECK_EQ(got[0], 'b');
    CHECK_EQ(s.rdstate(), ios_base::eofbit | ios_base::failbit);
  }

  check::set_case("stringstream: written characters are read back");
  {
    std::stringstream s(modes(in | out));
    s.write("hello", 5);
    char got[6] = {};
    s.read(got, 5);
    CHECK_TEXT(got, "hello");
    CHECK_EQ(s.rdstate(), 0);
    CHECK_EQ(s.get(), -1);
    CHECK_EQ(s.rdstate(), ios_base::eofbit | ios_base::failbit);
  }
}

void check_edge_cases() {
  check::set_case("ostringstream capacity: 512 after one character, 1024 after 513");
  {
    std::ostringstream s(modes(out));
    s.put('x');
    CHECK(capacity_of(s.rdbuf()->held_string) >= 512);
    for (int k = 1; k < 513; ++k) s.put('x');
    CHECK(capacity_of(s.rdbuf()->held_string) >= 1024);
    CHECK_EQ(length_of(s.str()), 513);
  }

  struct overwrite_case {
    const char* name;
    int mode;
    const char* after;
  };
  const overwrite_case overwrites[] = {
      {"ostringstream(\"abc\", out): X overwrites the start", out, "Xbc"},
      {"ostringstream(\"abc\", ate): X goes at the end", ate, "abcX"},
      {"ostringstream(\"abc\", app): X goes at the end", app, "abcX"},
      {"ostringstream(\"abc\", out|app)", out | app, "abcX"},
  };
  for (const overwrite_case& c : overwrites) {
    check::set_case(c.name);
    std::ostringstream s(text("abc"), modes(c.mode));
    s.put('X');
    CHECK(holds(s.str(), c.after));
  }

  check::set_case("istringstream(\"abc\"): str() after reading");
  {
    std::istringstream s(text("abc"), modes(in));
    CHECK(holds(s.str(), "abc"));
    s.get();
    CHECK(holds(s.str(), "abc"));
    char got[8];
    s.read(got, 8);
    CHECK(holds(s.str(), "abc"));
  }

  check::set_case("pubseekoff(0, end, in) on five characters");
  {
    std::istringstream s(text("12345"), modes(in));
    CHECK_EQ(s.rdbuf()->pubseekoff(0, ios_base::end, modes(in)).offset, 5);
  }

  check::set_case("pubseekoff(1, cur, in|out) on a stringstream is refused");
  {
    std::stringstream s(text("12345"), modes(in | out));
    CHECK_EQ(s.rdbuf()->pubseekoff(1, ios_base::cur, modes(in | out)).offset, -1);
  }

  check::set_case("six characters written, nothing read: seekg(4) succeeds");
  {
    std::stringstream s(modes(in | out));
    s.write("abcdef", 6);
    s.seekg(std::streampos(4));
    CHECK_EQ(s.rdstate(), 0);
    CHECK_EQ(s.get(), 'e');
    CHECK_EQ(s.tellg().offset, 5);
    CHECK_EQ(s.tellp().offset, 6);
  }

  check::set_case("seekg beyond the high-water mark fails and moves nothing");
  {
    std::stringstream s(modes(in | out));
    s.write("abc", 3);
    s.get();
    s.seekg(4, ios_base::beg);
    CHECK_EQ(s.rdstate(), ios_base::failbit);
    CHECK_EQ(s.rdbuf()->get_next - s.rdbuf()->get_begin, 1);
    s.clear();
    s.seekp(-1, ios_base::end);
    s.put('C');
    CHECK(holds(s.str(), "abC"));
  }

  check::set_case("putback of a different character: istringstream refuses");
  {
    std::istringstream s(text("yz"), modes(in));
    CHECK_EQ(s.get(), 'y');
    s.putback('q');
    CHECK_EQ(s.rdstate(), ios_base::badbit);
    CHECK(holds(s.str(), "yz"));
  }

  check::set_case("putback of a different character: stringstream overwrites");
  {
    std::stringstream s(text("yz"), modes(in | out));
    CHECK_EQ(s.get(), 'y');
    s.putback('q');
    CHECK_EQ(s.rdstate(), 0);
    CHECK(holds(s.str(), "qz"));
    CHECK_EQ(s.get(), 'q');
  }

  check::set_case("str(s) replaces the content and positions, not the state");
  {
    std::istringstream s(text("a"), modes(in));
    s.get();
    s.get();
    CHECK_EQ(s.rdstate(), ios_base::eofbit | ios_base::failbit);
    s.str(text("new"));
    CHECK_EQ(s.rdstate(), ios_base::eofbit | ios_base::failbit);
    s.clear();
    CHECK_EQ(s.get(), 'n');
    CHECK(holds(s.str(), "new"));

    std::ostringstream o(text("old text"), modes(out));
    o.put('*');
    o.str(text("xy"));
    o.put('1');
    CHECK(holds(o.str(), "1y"));

    std::stringstream both(modes(in | out));
    both.write("abc", 3);
    both.str(text("uvw"));
    CHECK_EQ(both.tellp().offset, 0);
    CHECK_EQ(both.get(), 'u');
  }
}

// Erase callbacks run after the member buffer's string is gone, and
// every block the stream took is released.
check::heap_probe* probe;
long live_at_erase;
int erase_calls;

void record_erase(ios_base::event e, ios_base&, int) {
  if (e != ios_base::erase_event) return;
  ++erase_calls;
  live_at_erase = probe->live();
}

void check_destruction_order() {
  struct order_case {
    const char* name;
    made (*make)(int, const char*);
  };
  const order_case cases[] = {
      {"istringstream destruction", make<std::istringstream>},
      {"ostringstream destruction", make<std::ostringstream>},
      {"stringstream destruction", make<std::stringstream>},
  };
  for (const order_case& c : cases) {
    check::set_case(c.name);
    check::heap_probe heap;
    probe = &heap;
    erase_calls = 0;
    made m = c.make(in | out, "held text");
    m.whole->register_callback(record_erase, 0);
    CHECK_EQ(heap.live(), 3);  // the stream, its string and the callback node
    delete m.whole;
    CHECK_EQ(erase_calls, 1);
    CHECK_EQ(live_at_erase, 2);  // the string went first
    CHECK_EQ(heap.live(), 0);
  }
}

// Streams a game derives from the string streams: the compiler builds them
// through the library's base-object constructors with sub-VTTs.
class game_log : public std::ostringstream {
public:
  game_log() : std::ostringstream(modes(out)) {}
  int tag = 0x4444;
};

class game_reader : public std::istringstream {
public:
  explicit game_reader(const char* s) : std::istringstream(text(s), modes(in)) {}
  int tag = 0x5555;
};

class game_channel : public std::stringstream {
public:
  explicit game_channel(const char* s) : std::stringstream(text(s), modes(in | out)) {}
  int tag = 0x6666;
};

void check_derived() {
  check::set_case("derived from std::ostringstream");
  {
    game_log log;
    std::ostringstream& base = log;
    CHECK(log.rdbuf() == &base.string_buffer);
    CHECK(static_cast<std::basic_ios<char>&>(log).rdbuf() == &base.string_buffer);
    CHECK_EQ(log.rdstate(), 0);
    log << 12;
    log.put('!');
    CHECK(holds(log.str(), "12!"));
    CHECK_EQ(log.tag, 0x4444);
  }

  check::set_case("derived from std::istringstream");
  {
    game_reader reader("xyz");
    CHECK_EQ(reader.rdstate(), 0);
    CHECK_EQ(reader.get(), 'x');
    CHECK_EQ(reader.gcount(), 1);
    CHECK(holds(reader.str(), "xyz"));
    CHECK_EQ(reader.tag, 0x5555);
  }

  check::set_case("derived from std::stringstream");
  {
    game_channel channel("ab");
    std::istream& as_input = channel;
    std::ostream& as_output = channel;
    CHECK_EQ(distance(&as_input, &as_output), 8);
    CHECK_EQ(distance(&as_input, static_cast<std::basic_ios<char>*>(&channel)), virtual_base_offset(&as_input));
    CHECK_EQ(distance(&as_output, static_cast<std::basic_ios<char>*>(&channel)), virtual_base_offset(&as_output));
    as_output.put('A');
    CHECK_EQ(as_input.get(), 'A');
    CHECK(holds(channel.str(), "Ab"));
    CHECK_EQ(channel.tag, 0x6666);
  }
}

// Deleting through every kind of base pointer reaches the library's
// deleting destructors, directly or through its thunks.
void check_deletion() {
  check::heap_probe heap;
  probe = &heap;
  erase_calls = 0;

  check::set_case("istringstream through std::istream*");
  std::istream* a = new std::istringstream(text("a"), modes(in));
  a->register_callback(record_erase, 0);
  delete a;

  check::set_case("ostringstream through std::basic_ios<char>* (virtual thunk)");
  std::ostringstream* written = new std::ostringstream(modes(out));
  written->put('b');
  std::basic_ios<char>* b = written;
  b->register_callback(record_erase, 0);
  delete b;

  check::set_case("stringstream through std::ostream* (non-virtual thunk)");
  std::ostream* c = new std::stringstream(text("c"), modes(in | out));
  c->put('C');
  c->register_callback(record_erase, 0);
  delete c;

  check::set_case("stringstream through std::ios_base* with a grown word array");
  ios_base* d = new std::stringstream(modes(in | out));
  d->iword(40) = 1;
  d->register_callback(record_erase, 0);
  delete d;

  check::set_case("game classes through their library bases");
  std::ostringstream* e = new game_log;
  e->put('e');
  delete e;
  std::iostream* f = new game_channel("f");
  delete f;

  check::set_case("deletions");
  CHECK_EQ(erase_calls, 4);
  CHECK_EQ(heap.live(), 0);
}

}

int main() {
  check_construction();
  check_streams_read_and_write();
  check_edge_cases();
  check_destruction_order();
  check_derived();
  check_deletion();
  return check::finish();
}
