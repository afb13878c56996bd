// The file buffer and the file streams reach the buffer's open and close by
// name: the program's own definitions of those members (a game binary may
// carry them) take the library's place for the library's calls too.
#include "check.h"
#include "fstream.h"

namespace {

int opens_reached;
int closes_reached;

}

// Members take `this` as their first argument on this target, so plain
// functions under the members' names stand in for them.
extern "C" {
std::filebuf* own_open(std::filebuf*, const char*, int) __asm__(
    "_ZNSt13basic_filebufIcSt11char_traitsIcEE4openEPKcSt13_Ios_Openmode");
std::filebuf* own_open(std::filebuf*, const char*, int) {
  ++opens_reached;
  return 0;
}

std::filebuf* own_close(std::filebuf*) __asm__("_ZNSt13basic_filebufIcSt11char_traitsIcEE5closeEv");
std::filebuf* own_close(std::filebuf*) {
  ++closes_reached;
  return 0;
}
}

namespace {

typedef std::ios_base ios;

struct by_name_case {
  const char* name;
  void (*run)();
  int opens;
  int closes;
};

void destroy_buffer() { std::filebuf b; }
void open_ifstream() {
  std::ifstream s;
  s.open("anything");
  CHECK_EQ(s.rdstate(), ios::failbit);
}
void construct_ofstream() {
  std::ofstream s("anything");
  CHECK_EQ(s.rdstate(), ios::failbit);
}
void close_fstream() {
  std::fstream s;
  s.close();
  CHECK_EQ(s.rdstate(), ios::failbit);
}

void check_by_name() {
  // A stream's destructor closes its buffer, and the buffer's own
  // destructor closes it once more.
  const by_name_case cases[] = {
      {"filebuf destructor", destroy_buffer, 0, 1},
      {"ifstream::open, destructor", open_ifstream, 1, 2},
      {"ofstream(name), destructor", construct_ofstream, 1, 2},
      {"fstream::close, destructor", close_fstream, 0, 3},
  };
  for (const by_name_case& c : cases) {
    check::set_case(c.name);
    opens_reached = 0;
    closes_reached = 0;
    c.run();
    CHECK_EQ(opens_reached, c.opens);
    CHECK_EQ(closes_reached, c.closes);
  }
}

}

int main() {
  check_by_name();
  return check::finish();
}
