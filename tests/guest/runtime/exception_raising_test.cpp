// The raising functions, std::uncaught_exception, std::nothrow and the two
// __gnu_cxx atomics.
#include "atomicity.h"
#include "check.h"
#include "exception_raising.h"
#include "nothrow.h"

namespace {

struct raise_case {
  const char* name;
  void (*raise)(void*);
  const char* kind;
  const char* detail;
};

const raise_case raise_cases[] = {
  {"bad_alloc", [](void*) { std::__throw_bad_alloc(); }, "std::bad_alloc", ""},
  {"bad_cast", [](void*) { std::__throw_bad_cast(); }, "std::bad_cast", ""},
  {"length_error", [](void*) { std::__throw_length_error("vector::reserve"); }, "std::length_error",
   "vector::reserve"},
  {"out_of_range", [](void*) { std::__throw_out_of_range("vector::at"); }, "std::out_of_range", "vector::at"},
  // The format is passed on as it is; its arguments are never read.
  {"out_of_range_fmt",
   [](void*) { std::__throw_out_of_range_fmt("%s: __n (which is %zu) >= this->size() (which is %zu)", "at", 7, 3); },
   "std::out_of_range", "%s: __n (which is %zu) >= this->size() (which is %zu)"},
  {"logic_error", [](void*) { std::__throw_logic_error("basic_string::_S_construct null not valid"); },
   "std::logic_error", "basic_string::_S_construct null not valid"},
  {"runtime_error", [](void*) { std::__throw_runtime_error("locale::facet::_S_create_c_locale"); },
   "std::runtime_error", "locale::facet::_S_create_c_locale"},
};

struct atomic_case {
  int before;
  int added;
  int after;
};

const atomic_case atomic_cases[] = {
  {0, -1, -1},
  {-1, 1, 0},
  {5, 3, 8},
  {0x7fffffff, 1, (int)0x80000000},
};

}

int main() {
  for (const raise_case& c : raise_cases) {
    check::set_case(c.name);
    EXPECT_FATAL(c.raise, nullptr, c.kind, c.detail);
  }

  for (const atomic_case& c : atomic_cases) {
    check::set_case("exchange_and_add");
    volatile int word = c.before;
    CHECK_EQ(__gnu_cxx::__exchange_and_add(&word, c.added), c.before);
    CHECK_EQ(word, c.after);
    check::set_case("atomic_add");
    word = c.before;
    __gnu_cxx::__atomic_add(&word, c.added);
    CHECK_EQ(word, c.after);
  }

  check::set_case("small symbols");
  CHECK(!std::uncaught_exception());
  CHECK_EQ(sizeof std::nothrow, 1);
  CHECK_EQ(*reinterpret_cast<const unsigned char*>(&std::nothrow), 0);
  return check::finish();
}
