// Stream classes derived in guest code from std::istream, std::ostream and
// std::iostream, the way a game builds its own streams: the compiler builds
// them through the library's base-object constructors and destructors with
// sub-VTTs, and deletes them through the library's destructors and thunks.
#include "check.h"
#include "script_buffer.h"

namespace {

using std::ios_base;

int erase_events;
void count_erase(ios_base::event e, ios_base&, int) {
  if (e == ios_base::erase_event) ++erase_events;
}

// Each class owns its buffer, placed before the stream parts as a game's
// own streams did it (a base class initialised first).
struct buffer_holder {
  explicit buffer_holder(const char* input) : buffer(input, script_buffer::areas) {}
  script_buffer buffer;
};

class game_input : private buffer_holder, public std::istream {
public:
  explicit game_input(const char* text) : buffer_holder(text), std::istream(&buffer) {}
  int tag = 0x1111;
};

class game_output : private buffer_holder, public std::ostream {
public:
  game_output() : buffer_holder(""), std::ostream(&buffer) {}
  const char* text() { return buffer.written(); }
  int tag = 0x2222;
};

class game_stream : private buffer_holder, public std::iostream {
public:
  explicit game_stream(const char* text) : buffer_holder(text), std::iostream(&buffer) {}
  const char* text() { return buffer.written(); }
  int tag = 0x3333;
};

// Where the basic_ios<char> part lies, as the object's own table says.
long virtual_base_offset(const void* object) {
  return reinterpret_cast<const long* const*>(object)[0][-3];
}

void check_input() {
  check::set_case("derived from std::istream");
  erase_events = 0;
  {
    game_input in("word rest");
    std::istream& base = in;
    CHECK_EQ(reinterpret_cast<const char*>(static_cast<std::basic_ios<char>*>(&in)) -
                 reinterpret_cast<const char*>(&base),
             virtual_base_offset(&base));
    CHECK_EQ(in.rdstate(), 0);
    CHECK_EQ(in.format_flags, 0x1002);
    CHECK_EQ(in.extracted_count, 0);
    char word[8];
    in.get(word, 5, ' ');
    CHECK_TEXT(word, "word");
    CHECK_EQ(in.gcount(), 4);
    CHECK_EQ(in.tag, 0x1111);
    in.register_callback(count_erase, 0);
  }
  CHECK_EQ(erase_events, 1);
}

void check_output() {
  check::set_case("derived from std::ostream");
  erase_events = 0;
  {
    game_output out;
    out << 12;
    out.put(' ');
    out.put('z');
    CHECK_TEXT(out.text(), "12 z");
    CHECK_EQ(out.tag, 0x2222);
    out.register_callback(count_erase, 0);
  }
  CHECK_EQ(erase_events, 1);
}

void check_iostream() {
  check::set_case("derived from std::iostream");
  erase_events = 0;
  {
    game_stream both("in");
    std::istream& as_input = both;
    std::ostream& as_output = both;
    std::basic_ios<char>& shared = both;
    CHECK_EQ(reinterpret_cast<char*>(&shared) - reinterpret_cast<char*>(&as_input), virtual_base_offset(&as_input));
    CHECK_EQ(reinterpret_cast<char*>(&shared) - reinterpret_cast<char*>(&as_output), virtual_base_offset(&as_output));
    CHECK_EQ(reinterpret_cast<char*>(&as_output) - reinterpret_cast<char*>(&as_input), 8);
    CHECK_EQ(as_input.get(), 'i');
    as_output << 7;
    CHECK_TEXT(both.text(), "7");
    CHECK_EQ(both.gcount(), 1);
    CHECK_EQ(both.rdstate(), 0);
    CHECK_EQ(both.tag, 0x3333);
    both.register_callback(count_erase, 0);
  }
  CHECK_EQ(erase_events, 1);
}

// Deleting through a base pointer reaches the library's deleting
// destructors, thunks included.
void check_deletion() {
  check::heap_probe heap;
  erase_events = 0;

  check::set_case("delete a derived istream through std::istream*");
  std::istream* in = new game_input("x");
  in->register_callback(count_erase, 0);
  delete in;

  check::set_case("delete a std::iostream through std::ostream* (non-virtual thunk)");
  script_buffer b;
  std::ostream* out = new std::iostream(&b);
  out->register_callback(count_erase, 0);
  delete out;

  check::set_case("delete a std::istream through std::basic_ios<char>* (virtual thunk)");
  std::basic_ios<char>* ios = new std::istream(&b);
  ios->register_callback(count_erase, 0);
  delete ios;

  check::set_case("delete a std::ostream through std::ios_base*");
  ios_base* base = new std::ostream(&b);
  base->register_callback(count_erase, 0);
  base->iword(30) = 1;  // a grown word array goes too
  delete base;

  check::set_case("deletions");
  CHECK_EQ(erase_events, 4);
  CHECK_EQ(heap.live(), 0);
}

void check_default_constructed() {
  check::set_case("default-constructed streams start with badbit");
  std::istream in;
  std::ostream out;
  std::iostream both;
  CHECK_EQ(in.rdstate(), ios_base::badbit);
  CHECK_EQ(out.rdstate(), ios_base::badbit);
  CHECK_EQ(both.rdstate(), ios_base::badbit);
  script_buffer b("q");
  both.rdbuf(&b);
  CHECK_EQ(both.rdstate(), 0);
  CHECK_EQ(both.get(), 'q');
}

}

int main() {
  check_input();
  check_output();
  check_iostream();
  check_deletion();
  check_default_constructed();
  return check::finish();
}
