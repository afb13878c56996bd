// The file buffer and the file streams as construction leaves them, byte by
// byte: storage filled with a pattern first, so that every reserved byte the
// constructors must zero shows if it was missed.
#include "c_functions.h"
#include "file_fixture.h"

extern "C" {
extern const char vt_filebuf[] __asm__("_ZTVSt13basic_filebufIcSt11char_traitsIcEE");
extern const char vt_ifstream[] __asm__("_ZTVSt14basic_ifstreamIcSt11char_traitsIcEE");
extern const char vt_ofstream[] __asm__("_ZTVSt14basic_ofstreamIcSt11char_traitsIcEE");
extern const char vt_fstream[] __asm__("_ZTVSt13basic_fstreamIcSt11char_traitsIcEE");
}

namespace {

using fixture::ios;
typedef const void* word;

const unsigned char pattern = 0xa5;

word word_at(const void* object, long offset) {
  return *reinterpret_cast<const word*>(static_cast<const char*>(object) + offset);
}

// Every byte of a constructed file buffer from the end of the streambuf
// part on is zero, except buffer_size (8192).
void check_buffer_bytes(const unsigned char* bytes) {
  for (int i = 32; i < 516; ++i) {
    if (i >= 476 && i < 480) continue;
    if (bytes[i] != 0) {
      CHECK_EQ(i, -1);  // names the first offset left non-zero
      break;
    }
  }
  CHECK_EQ(*reinterpret_cast<const int*>(bytes + 476), 8192);
  // The streambuf part: six null area pointers and the "C" locale.
  for (int i = 4; i < 28; ++i) CHECK_EQ(bytes[i], 0);
  CHECK_TEXT(*reinterpret_cast<const char* const*>(bytes + 28), "C");
}

void check_file_buffer() {
  check::set_case("basic_filebuf<char>()");
  alignas(8) unsigned char storage[sizeof(std::filebuf)];
  memset(storage, pattern, sizeof storage);
  std::filebuf* b = new (storage) std::filebuf;
  CHECK(word_at(storage, 0) == vt_filebuf + 8);
  check_buffer_bytes(storage);
  CHECK(!b->is_open());
  b->~basic_filebuf();
}

// Where a stream's parts lie, and what its table pointers hold.
struct stream_case {
  const char* name;
  void (*build)(void*, const char*);
  void (*destroy)(void*);
  bool named;  // built open on an existing file
  const char* table;
  long buffer_offset;
  long ios_offset;
  long ostream_part;   // 0: none
  long ios_table_word;  // word index of the basic_ios address point
};

template<typename S> void build_closed(void* at, const char*) { new (at) S; }
template<typename S> void build_named(void* at, const char* name) { new (at) S(name, fixture::mode(ios::in | ios::out)); }
template<typename S> void destroy(void* at) { static_cast<S*>(at)->~S(); }

void check_streams(fixture::temp_folder& folder) {
  const char* existing = folder.path("existing");
  fixture::write_file(existing, "0123456789");
  const stream_case cases[] = {
      {"ifstream()", build_closed<std::ifstream>, destroy<std::ifstream>, false, vt_ifstream, 8, 524, 0, 8},
      {"ofstream()", build_closed<std::ofstream>, destroy<std::ofstream>, false, vt_ofstream, 4, 520, 0, 8},
      {"fstream()", build_closed<std::fstream>, destroy<std::fstream>, false, vt_fstream, 12, 528, 8, 13},
      {"ifstream(name, mode)", build_named<std::ifstream>, destroy<std::ifstream>, true, vt_ifstream, 8, 524, 0, 8},
      {"ofstream(name, mode)", build_named<std::ofstream>, destroy<std::ofstream>, true, vt_ofstream, 4, 520, 0, 8},
      {"fstream(name, mode)", build_named<std::fstream>, destroy<std::fstream>, true, vt_fstream, 12, 528, 8, 13},
  };
  for (const stream_case& c : cases) {
    check::set_case(c.name);
    alignas(8) unsigned char storage[sizeof(std::fstream)];  // the largest of the three
    memset(storage, pattern, sizeof storage);
    c.build(storage, existing);

    CHECK(word_at(storage, 0) == c.table + 12);
    CHECK_EQ(reinterpret_cast<const long*>(word_at(storage, 0))[-3], c.ios_offset);
    if (c.ostream_part != 0) CHECK(word_at(storage, c.ostream_part) == c.table + 32);
    CHECK(word_at(storage, c.ios_offset) == c.table + 4 * c.ios_table_word);
    if (c.buffer_offset != 4) CHECK_EQ(*reinterpret_cast<const int*>(storage + 4), 0);  // extracted_count

    unsigned char* buffer_bytes = storage + c.buffer_offset;
    CHECK(word_at(buffer_bytes, 0) == vt_filebuf + 8);
    const std::filebuf* b = reinterpret_cast<const std::filebuf*>(buffer_bytes);
    if (!c.named) {
      check_buffer_bytes(buffer_bytes);
    } else {
      CHECK(b->is_open());
      CHECK_EQ(b->open_mode, ios::in | ios::out);
      CHECK(b->buffer != 0);
      CHECK_EQ(b->buffer_owned, 1);
    }

    const std::basic_ios<char>* s = reinterpret_cast<const std::basic_ios<char>*>(storage + c.ios_offset);
    CHECK_EQ(s->float_precision, 6);
    CHECK_EQ(s->field_width, 0);
    CHECK_EQ(s->format_flags, 0x1002);
    CHECK_EQ(s->exception_mask, 0);
    CHECK_EQ(s->stream_state, 0);
    CHECK(s->callback_head == 0);
    CHECK_EQ(s->word_count, 8);
    CHECK(s->words == s->local_words);
    CHECK_TEXT(s->stream_locale.locale_name, "C");
    CHECK(s->tied_stream == 0);
    CHECK_EQ(*reinterpret_cast<const unsigned short*>(&s->fill_char), 0);
    CHECK(s->stream_buffer == reinterpret_cast<const void*>(buffer_bytes));
    CHECK(s->ctype_facet != 0);
    CHECK_EQ(static_cast<const char*>(s->num_get_facet) - static_cast<const char*>(s->num_put_facet), 8);
    c.destroy(storage);
  }
}

// rdbuf() and is_open() of a file stream class, through both overloads:
// the buffer lies at buffer_offset, and opening the file shows in both.
template<typename S>
void check_accessors_of(const char* name, long buffer_offset, const char* path, ios::openmode m) {
  check::set_case(name);
  S s;
  const S& cs = s;
  CHECK(reinterpret_cast<char*>(cs.rdbuf()) == reinterpret_cast<char*>(&s) + buffer_offset);
  CHECK(!s.is_open() && !cs.is_open());
  s.open(path, m);
  CHECK(s.is_open() && cs.is_open());
}

void check_accessors(fixture::temp_folder& folder) {
  const char* existing = folder.path("accessors");
  fixture::write_file(existing, "x");
  check_accessors_of<std::ifstream>("ifstream accessors", 8, existing, ios::in);
  check_accessors_of<std::ofstream>("ofstream accessors", 4, existing, ios::app);
  check_accessors_of<std::fstream>("fstream accessors", 12, existing, fixture::mode(ios::in | ios::out));
}

// A game's own stream class derived from a file stream: the compiler
// builds the file stream part through its base-object constructor with a
// sub-VTT and tears it down through its base-object destructor.
class game_log : public std::ofstream {
public:
  explicit game_log(const char* name) : std::ofstream(name, fixture::mode(ios::out | ios::trunc)) {}
  int tag = 0x4c4f47;
};

class game_save : public std::fstream {
public:
  game_save() {}
  int tag = 0x534156;
};

void check_derived(fixture::temp_folder& folder) {
  check::set_case("derived from ofstream");
  const char* log = folder.path("game.log");
  check::heap_probe heap;
  {
    game_log out(log);
    CHECK(out.is_open());
    CHECK_EQ(out.tag, 0x4c4f47);
    std::ostream& base = out;
    base.write("lap 1\n", 6);
    CHECK_EQ(out.rdstate(), 0);
    CHECK(static_cast<std::basic_ios<char>&>(out).rdbuf() == out.rdbuf());
  }
  CHECK(fixture::file_is(log, "lap 1\n"));
  CHECK_EQ(heap.live(), 0);

  check::set_case("derived from fstream");
  {
    game_save save;
    CHECK(!save.is_open());
    CHECK_EQ(save.tag, 0x534156);
    save.open(log, fixture::mode(ios::in | ios::out));
    char first[4] = {};
    save.read(first, 3);
    CHECK_TEXT(first, "lap");
  }
  CHECK_EQ(heap.live(), 0);
}

}

int main() {
  {
    fixture::temp_folder folder;
    check_file_buffer();
    check_streams(folder);
    check_accessors(folder);
    check_derived(folder);
  }  // the folder goes, and says so if it cannot
  return check::finish();
}
