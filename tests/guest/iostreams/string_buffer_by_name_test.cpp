// The string buffer and streams reach their own template members by name:
// a game binary's definition of _M_sync, _M_update_egptr,
// _M_stringbuf_init or str() serves the library's own calls too. This
// program supplies such definitions, which only record that they were
// reached, and drives the members that call them.
#include "check.h"
#include "string_streams.h"
#include "string_text.h"

namespace {

enum replacement { r_sync, r_update_egptr, r_stringbuf_init, r_buffer_str, replacement_count };

int reached[replacement_count];

}

#define SB "St15basic_stringbufIcSt11char_traitsIcESaIcEE"

// Members take `this` first on this target; plain functions with the
// members' names stand in for them.
extern "C" {
void own_sync(std::stringbuf* b, char* base, size_t, size_t) __asm__("_ZN" SB "7_M_syncEPcjj");
void own_sync(std::stringbuf* b, char* base, size_t, size_t) {
  ++reached[r_sync];
  b->setg(base, base, base);
  b->setp(base, base);
}

void own_update_egptr(std::stringbuf*) __asm__("_ZN" SB "15_M_update_egptrEv");
void own_update_egptr(std::stringbuf*) { ++reached[r_update_egptr]; }

void own_stringbuf_init(std::stringbuf* b, std::ios_base::openmode mode) __asm__(
    "_ZN" SB "17_M_stringbuf_initESt13_Ios_Openmode");
void own_stringbuf_init(std::stringbuf* b, std::ios_base::openmode mode) {
  ++reached[r_stringbuf_init];
  b->open_mode = mode;
}
}

// Returned through the hidden pointer, which the callee pops, as the
// member does.
std::string own_buffer_str(const std::stringbuf*) __asm__("_ZNK" SB "3strEv");
std::string own_buffer_str(const std::stringbuf*) {
  ++reached[r_buffer_str];
  return text("replaced");
}

namespace {

using std::ios_base;

const ios_base::openmode in_out = ios_base::openmode(ios_base::in | ios_base::out);

void set_buffer(std::stringstream& s) {
  char array[4];
  s.rdbuf()->pubsetbuf(array, 4);
}
void overflow(std::stringstream& s) {
  s.rdbuf()->put_end = s.rdbuf()->put_next;  // a full area
  s.rdbuf()->overflow('x');
}
void underflow(std::stringstream& s) { s.rdbuf()->underflow(); }
void showmanyc(std::stringstream& s) { s.rdbuf()->showmanyc(); }
void seek_offset(std::stringstream& s) { s.rdbuf()->pubseekoff(0, ios_base::beg, ios_base::in); }
void seek_position(std::stringstream& s) { s.rdbuf()->pubseekpos(std::streampos(0), ios_base::in); }
void new_content(std::stringstream& s) { s.str(text("abc")); }
void stream_str(std::stringstream& s) { CHECK(holds(s.str(), "replaced")); }

struct by_name_case {
  const char* name;
  void (*run)(std::stringstream&);
  replacement wanted;
};

const by_name_case cases[] = {
    {"setbuf calls _M_sync", set_buffer, r_sync},
    {"overflow calls _M_sync after growing", overflow, r_sync},
    {"underflow calls _M_update_egptr", underflow, r_update_egptr},
    {"showmanyc calls _M_update_egptr", showmanyc, r_update_egptr},
    {"seekoff calls _M_update_egptr", seek_offset, r_update_egptr},
    {"seekpos calls _M_update_egptr", seek_position, r_update_egptr},
    {"str(s) calls _M_stringbuf_init", new_content, r_stringbuf_init},
    {"the stream's str() calls the buffer's", stream_str, r_buffer_str},
};

}

int main() {
  for (const by_name_case& c : cases) {
    check::set_case(c.name);
    std::stringstream s(text("text"), in_out);
    for (int& r : reached) r = 0;
    c.run(s);
    CHECK(reached[c.wanted] > 0);
  }
  check::set_case("the string constructor calls _M_stringbuf_init");
  for (int& r : reached) r = 0;
  std::stringbuf b(text("text"), in_out);
  CHECK_EQ(reached[r_stringbuf_init], 1);
  return check::finish();
}
