// The capacity rules: fresh representations, growth, cloning, the page rule
// with P = 4096, reserve, and the maximum length.
#include <stdlib.h>

#include "check.h"
#include "string_view_helpers.h"

namespace {

const std::allocator<char> alloc;
const size_t max_length = 0x3FFFFFFC;

char* filled(size_t n) {
  char* text = static_cast<char*>(malloc(n + 1));
  for (size_t i = 0; i < n; ++i) text[i] = static_cast<char>('a' + i % 26);
  text[n] = '\0';
  return text;
}

struct capacity_case {
  const char* name;
  size_t length;     // characters the string holds
  size_t capacity;   // capacity the rule gives
};

// Fresh representations: capacity = length, then the page rule makes the
// block plus 16 bytes fill whole pages once it passes one page.
const capacity_case fresh_cases[] = {
  {"one character", 1, 1},
  {"ten characters", 10, 10},
  {"P - 29 fits one page", page - 29, page - 29},
  {"P - 28 takes two pages", page - 28, 2 * page - 29},
  {"2P - 29 already fills two pages and still gains one", 2 * page - 29, 3 * page - 29},
  {"P + 904", page + 904, 2 * page - 29},
};

// Cloning a leaked representation follows the same rule with its length.
void check_fresh_and_clone(const capacity_case& c) {
  char* text = filled(c.length);
  check::heap_probe heap;
  {
    std::string s(text, c.length, alloc);
    CHECK_EQ(rep_of(s)->capacity, c.capacity);
    CHECK_EQ(heap.last_size(), c.capacity + 1 + 12);
    CHECK_EQ(rep_of(s)->length, c.length);
    CHECK_EQ(text_of(s)[c.length], 0);
    s.begin();  // leak
    std::string copy(s);
    CHECK(chars_pointer(copy) != chars_pointer(s));
    CHECK_EQ(rep_of(copy)->capacity, c.capacity);
    CHECK_EQ(rep_of(copy)->ref_count, 0);
    CHECK_EQ(rep_of(s)->ref_count, -1);
    CHECK(memcmp(text_of(copy), text, c.length + 1) == 0);
  }
  CHECK_EQ(heap.live(), 0);
  free(text);
}

struct growth_case {
  const char* name;
  size_t start;     // length and capacity before
  size_t added;     // characters appended one by one... at once
  size_t capacity;  // capacity after
};

// Growing an unshared string: below twice the old capacity the request is
// doubled, then the page rule applies.
const growth_case growth_cases[] = {
  {"100 + 1 doubles", 100, 1, 200},
  {"100 + 150 is taken as asked", 100, 150, 250},
  {"3P/4 + 1 doubles to 3P/2, paged to 2P - 29", 3 * page / 4, 1, 2 * page - 29},
  {"P - 29 + 1", page - 29, 1, 2 * page - 29},
};

}

int main() {
  for (const capacity_case& c : fresh_cases) {
    check::set_case(c.name);
    check_fresh_and_clone(c);
  }

  for (const growth_case& c : growth_cases) {
    check::set_case(c.name);
    char* text = filled(c.start + c.added);
    std::string s(text, c.start, alloc);
    CHECK_EQ(rep_of(s)->capacity, c.start);
    s.append(text + c.start, c.added);
    CHECK_EQ(rep_of(s)->capacity, c.capacity);
    CHECK_EQ(rep_of(s)->length, c.start + c.added);
    CHECK(memcmp(text_of(s), text, c.start + c.added + 1) == 0);
    free(text);
  }

  check::set_case("push_back doubles");
  {
    std::string s(100, 'x', alloc);
    s.push_back('y');
    CHECK_EQ(rep_of(s)->capacity, 200);
    CHECK_EQ(rep_of(s)->length, 101);
    CHECK_EQ(text_of(s)[100], 'y');
    CHECK_EQ(text_of(s)[101], 0);
  }

  check::set_case("_S_create growth and exact requests");
  {
    struct create_case { size_t requested, old, capacity; };
    const create_case cases[] = {
      {0, 0, 0}, {5, 0, 5}, {101, 100, 200}, {300, 100, 300}, {50, 100, 50}, {100, 100, 100},
      {page - 28, 0, 2 * page - 29},
      {page - 28, page, page - 28},  // not above the old capacity: exact, no page rule
    };
    for (const create_case& c : cases) {
      std::string::_Rep* rep = std::string::_Rep::_S_create(c.requested, c.old, alloc);
      CHECK_EQ(rep->capacity, c.capacity);
      CHECK_EQ(rep->length, 0);
      CHECK_EQ(rep->ref_count, 0);
      rep->_M_destroy(alloc);
    }
  }

  check::set_case("reserve");
  {
    std::string s(10, 'r', alloc);
    s.reserve(200);
    CHECK_EQ(rep_of(s)->capacity, 200);
    const char* before = chars_pointer(s);
    check::heap_probe heap;
    s.reserve(200);  // the capacity itself on an unshared string: nothing
    CHECK(chars_pointer(s) == before);
    CHECK_EQ(heap.allocations(), 0);
    s.reserve(0);  // trims to the length
    CHECK_EQ(rep_of(s)->capacity, 10);
    CHECK_EQ(rep_of(s)->length, 10);
    CHECK_TEXT(text_of(s), "rrrrrrrrrr");
    CHECK_EQ(heap.live(), 0);

    std::string shared(s);
    CHECK_EQ(rep_of(s)->ref_count, 1);
    s.reserve(10);  // the capacity on a shared string unshares it
    CHECK(chars_pointer(s) != chars_pointer(shared));
    CHECK_EQ(rep_of(s)->ref_count, 0);
    CHECK_EQ(rep_of(shared)->ref_count, 0);

    s.begin();
    s.reserve(40);  // a leaked string that is reallocated becomes sharable
    CHECK_EQ(rep_of(s)->ref_count, 0);
    CHECK_EQ(rep_of(s)->capacity, 40);

    std::string empty;
    check::heap_probe empty_heap;
    empty.reserve(0);
    CHECK(is_empty_rep(empty));
    CHECK_EQ(empty_heap.allocations(), 0);
  }

  check::set_case("maximum length");
  CHECK_EQ(std::string().length(), 0);
  {
    struct too_long_case { const char* name; void (*run)(void*); };
    const too_long_case cases[] = {
      {"_S_create", [](void*) { std::string::_Rep::_S_create(max_length + 1, 0, alloc); }},
      {"reserve", [](void*) { std::string s("abc", alloc); s.reserve(max_length + 1); }},
      {"resize", [](void*) { std::string s("abc", alloc); s.resize(max_length + 1, 'x'); }},
      {"append copies", [](void*) { std::string s("abc", alloc); s.append(max_length - 2, 'x'); }},
      // A count that would wrap the 32-bit length is caught before anything
      // is copied.
      {"append wraps", [](void*) { std::string s("abc", alloc); s.append(0xFFFFFFFEu, 'x'); }},
      {"append source wraps", [](void*) { std::string s("abc", alloc); s.append("xyz", 0xFFFFFFFEu); }},
      {"replace wraps", [](void*) { std::string s("abc", alloc); s.replace(0, 1, "xyz", 0xFFFFFFFFu); }},
    };
    for (const too_long_case& c : cases) {
      check::set_case(c.name);
      EXPECT_FATAL(c.run, nullptr, "std::length_error", "basic_string::_S_create");
    }
  }
  return check::finish();
}
