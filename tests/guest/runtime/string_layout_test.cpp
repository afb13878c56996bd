// The object and header layout of the guest string, pinned at compile time,
// and the empty representation every constructor shares.
#include <stddef.h>

#include "check.h"
#include "nothrow.h"
#include "string_view_helpers.h"

static_assert(sizeof(std::string) == 4, "a string is one pointer");
static_assert(sizeof(std::wstring) == 4, "a wide string is one pointer");
static_assert(sizeof(std::string::_Rep) == 12, "the header is three words");
static_assert(offsetof(std::string::_Rep, length) == 0, "length first");
static_assert(offsetof(std::string::_Rep, capacity) == 4, "capacity second");
static_assert(offsetof(std::string::_Rep, ref_count) == 8, "ref_count third");
static_assert(sizeof(std::string::_Rep::ref_count) == 4, "ref_count is a 32-bit word");
static_assert(sizeof(std::wstring::_Rep) == 12, "the wide header is the same");
static_assert(sizeof(std::string::size_type) == 4, "sizes are 32 bits");
static_assert(std::string::npos == 0xFFFFFFFFu, "npos");
static_assert(sizeof(std::allocator<char>) == 1, "the allocator is empty");
static_assert(sizeof(std::string::iterator) == 4, "iterators are one pointer");
static_assert(sizeof(std::nothrow_t) == 1, "nothrow_t is an empty tag");

namespace {

const char* empty_chars() {
  return reinterpret_cast<const char*>(std::string::_Rep::_S_empty_rep_storage) + 12;
}

// An empty string made by a constructor points into the empty
// representation, and copying it changes nothing there.
void check_empty(const std::string& s) {
  CHECK(chars_pointer(s) == empty_chars());
  std::string copy(s);
  CHECK(chars_pointer(copy) == empty_chars());
  CHECK_EQ(rep_of(copy)->ref_count, 0);
}

struct empty_case {
  const char* name;
  void (*run)();
};

const empty_case empty_cases[] = {
  {"default", [] { std::string s; check_empty(s); }},
  {"empty text", [] { std::string s("", std::allocator<char>()); check_empty(s); }},
  {"zero count", [] { std::string s("abc", 0, std::allocator<char>()); check_empty(s); }},
  {"zero copies", [] { std::string s(0, 'x', std::allocator<char>()); check_empty(s); }},
  {"empty substring", [] { std::string a("abc", std::allocator<char>()); std::string s(a, 3, 5); check_empty(s); }},
};

}

int main() {
  for (const empty_case& c : empty_cases) {
    check::set_case(c.name);
    check::heap_probe heap;
    c.run();
    CHECK_EQ(heap.live(), 0);
    CHECK(empty_rep_untouched<std::string>());
  }
  check::set_case("terminal");
  CHECK_EQ(std::string::_Rep::_S_terminal, 0);
  return check::finish();
}
