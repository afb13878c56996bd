// The sharing count through copy, leak, swap, unshare and dispose, and the
// heap traffic each step causes.
#include <pthread.h>

#include "check.h"
#include "string_view_helpers.h"

namespace {

const std::allocator<char> alloc;

void share_and_dispose() {
  check::heap_probe heap;
  {
    std::string a("shared text", alloc);
    CHECK_EQ(heap.allocations(), 1);
    CHECK_EQ(rep_of(a)->ref_count, 0);
    {
      check::heap_probe copying;
      std::string b(a);
      CHECK_EQ(copying.allocations(), 0);
      CHECK(chars_pointer(b) == chars_pointer(a));
      CHECK_EQ(rep_of(a)->ref_count, 1);
      std::string c;
      c = b;
      c.assign(c);  // the same characters: nothing
      CHECK_EQ(copying.allocations(), 0);
      CHECK_EQ(rep_of(a)->ref_count, 2);
    }
    CHECK_EQ(rep_of(a)->ref_count, 0);
    CHECK_EQ(heap.live(), 1);
  }
  CHECK_EQ(heap.live(), 0);
}

void leak_unshares() {
  std::string a("abcdef", alloc);
  a.reserve(50);
  std::string b(a);
  CHECK_EQ(rep_of(a)->ref_count, 1);
  // begin() on a string shared by two: a private copy of capacity = length.
  a.begin();
  CHECK(chars_pointer(a) != chars_pointer(b));
  CHECK_EQ(rep_of(a)->capacity, 6);
  CHECK_EQ(rep_of(a)->ref_count, -1);
  CHECK_EQ(rep_of(b)->ref_count, 0);
  CHECK_EQ(rep_of(b)->capacity, 50);
  // A change through mutate makes it sharable again.
  a.push_back('g');
  CHECK_EQ(rep_of(a)->ref_count, 0);
  CHECK_TEXT(text_of(a), "abcdefg");
  CHECK_TEXT(text_of(b), "abcdef");
}

// A change through mutate that fits in place also ends the leak.
void leaked_changed_in_place() {
  std::string a("abc", alloc);
  a.reserve(20);
  a.begin();
  CHECK_EQ(rep_of(a)->ref_count, -1);
  const char* chars = chars_pointer(a);
  a.push_back('d');
  CHECK(chars_pointer(a) == chars);
  CHECK_EQ(rep_of(a)->ref_count, 0);
  std::string copy(a);
  CHECK(chars_pointer(copy) == chars);
}

void leaking_members() {
  struct leak_case {
    const char* name;
    void (*leak)(std::string&);
  };
  const leak_case cases[] = {
    {"operator[]", [](std::string& s) { s[1] = 'X'; }},
    {"at", [](std::string& s) { s.at(1) = 'X'; }},
    {"begin", [](std::string& s) { *(s.begin().base() + 1) = 'X'; }},
    {"end", [](std::string& s) { *(s.end().base() - 2) = 'X'; }},
    {"_M_leak_hard", [](std::string& s) { s._M_leak_hard(); const_cast<char*>(chars_pointer(s))[1] = 'X'; }},
  };
  for (const leak_case& c : cases) {
    check::set_case(c.name);
    std::string s("abc", alloc);
    std::string other(s);
    c.leak(s);
    CHECK_EQ(rep_of(s)->ref_count, -1);
    CHECK_TEXT(text_of(s), "aXc");
    CHECK_TEXT(text_of(other), "abc");
    check::heap_probe heap;
    std::string copy(s);  // a leaked representation is never shared
    CHECK_EQ(heap.allocations(), 1);
    CHECK(chars_pointer(copy) != chars_pointer(s));
    CHECK_EQ(rep_of(copy)->ref_count, 0);
  }
}

void empty_rep_stays_untouched() {
  std::string empty;
  empty.begin();
  empty[0];
  empty._M_leak_hard();
  std::string copy(empty);
  std::string assigned;
  assigned = empty;
  CHECK_EQ(rep_of(empty)->ref_count, 0);
  CHECK(is_empty_rep(copy));
  CHECK(empty_rep_untouched<std::string>());
  empty.clear();
  CHECK(is_empty_rep(empty));
  CHECK(empty_rep_untouched<std::string>());
}

void clear_on_shared() {
  std::string a("abc", alloc);
  std::string b(a);
  b.clear();
  CHECK(!is_empty_rep(b));
  CHECK_EQ(rep_of(b)->capacity, 0);
  CHECK_EQ(rep_of(b)->length, 0);
  CHECK_EQ(text_of(b)[0], 0);
  CHECK_EQ(rep_of(a)->ref_count, 0);
  CHECK_TEXT(text_of(a), "abc");
}

void swap_keeps_leak() {
  std::string leaked("leaked", alloc);
  leaked.begin();
  std::string other("other", alloc);
  const char* leaked_chars = chars_pointer(leaked);
  check::heap_probe heap;
  other.swap(leaked);
  CHECK_EQ(heap.allocations(), 0);
  CHECK(chars_pointer(other) == leaked_chars);
  CHECK_EQ(rep_of(other)->ref_count, -1);
  CHECK_TEXT(text_of(leaked), "other");
}

void assign_disposes_leaked() {
  check::heap_probe heap;
  {
    std::string a("first", alloc);
    a.begin();
    std::string b("second", alloc);
    a = b;  // the leaked representation is freed, b's shared
    CHECK(chars_pointer(a) == chars_pointer(b));
    CHECK_EQ(rep_of(b)->ref_count, 1);
    CHECK_EQ(heap.live(), 1);
  }
  CHECK_EQ(heap.live(), 0);
}

void rep_members() {
  check::heap_probe heap;
  std::string::_Rep* rep = std::string::_Rep::_S_create(8, 0, alloc);
  rep->ref_count = 1;
  rep->_M_dispose(alloc);  // one owner less, not freed
  CHECK_EQ(heap.live(), 1);
  CHECK_EQ(rep->ref_count, 0);
  rep->_M_dispose(alloc);
  CHECK_EQ(heap.live(), 0);

  rep = std::string::_Rep::_S_create(8, 0, alloc);
  rep->ref_count = 3;
  rep->_M_destroy(alloc);  // unconditional
  CHECK_EQ(heap.live(), 0);

  reinterpret_cast<std::string::_Rep*>(std::string::_Rep::_S_empty_rep_storage)->_M_dispose(alloc);
  CHECK(empty_rep_untouched<std::string>());
}

// Copies and destructions of one representation on two threads at once.
void* copy_many(void* source) {
  const std::string& s = *static_cast<const std::string*>(source);
  for (int i = 0; i < 100000; ++i) {
    std::string copy(s);
    std::string another(copy);
  }
  return nullptr;
}

void threads_share() {
  std::string* s = new std::string("shared between threads", alloc);
  pthread_t threads[2];
  for (pthread_t& t : threads) pthread_create(&t, nullptr, copy_many, s);
  for (pthread_t& t : threads) pthread_join(t, nullptr);
  CHECK_EQ(rep_of(*s)->ref_count, 0);
  // Thread start-up uses the heap itself, so count only the last owner's end.
  check::heap_probe heap;
  delete s;
  CHECK_EQ(heap.live(), -2);
}

}

int main() {
  struct step {
    const char* name;
    void (*run)();
  };
  const step steps[] = {
    {"share and dispose", share_and_dispose},
    {"leak unshares", leak_unshares},
    {"leaked string changed in place", leaked_changed_in_place},
    {"leaking members", leaking_members},
    {"empty representation", empty_rep_stays_untouched},
    {"clear on a shared string", clear_on_shared},
    {"swap keeps a leak", swap_keeps_leak},
    {"assign disposes a leaked representation", assign_disposes_leaked},
    {"representation members", rep_members},
    {"threads", threads_share},
  };
  for (const step& s : steps) {
    check::set_case(s.name);
    s.run();
  }
  return check::finish();
}
