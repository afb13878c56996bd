// The wide string: the shared routines with 4-byte elements, its own empty
// representation, unsigned element order, and the members only it exports.
#include "check.h"
#include "string_view_helpers.h"

namespace {

const std::allocator<wchar_t> alloc;

wchar_t* filled(size_t n) {
  static wchar_t text[4096];
  for (size_t i = 0; i < n; ++i) text[i] = static_cast<wchar_t>(0x100 + i);
  text[n] = 0;
  return text;
}

void capacities() {
  struct capacity_case {
    const char* name;
    size_t length;
    size_t capacity;
  };
  const capacity_case cases[] = {
    {"(P - 36)/4 fits one page", (page - 36) / 4, (page - 36) / 4},
    {"(P - 28)/4 takes two pages", (page - 28) / 4, (2 * page - 32) / 4},
    {"1000 elements", 1000, 1000},
    {"one element", 1, 1},
  };
  for (const capacity_case& c : cases) {
    check::set_case(c.name);
    check::heap_probe heap;
    std::wstring s(filled(c.length), c.length, alloc);
    CHECK_EQ(rep_of(s)->capacity, c.capacity);
    CHECK_EQ(heap.last_size(), (c.capacity + 1) * 4 + 12);
    CHECK_EQ(s.size(), c.length);
    CHECK_EQ(chars_pointer(s)[c.length], 0);
  }
  check::set_case("growth doubles");
  std::wstring s(filled(100), 100, alloc);
  s.push_back(L'x');
  CHECK_EQ(rep_of(s)->capacity, 200);
  s.reserve(0);
  CHECK_EQ(rep_of(s)->capacity, 101);
}

void empty_representations() {
  std::wstring w;
  std::string n;
  CHECK(is_empty_rep(w));
  CHECK(reinterpret_cast<const void*>(rep_of(w)) != reinterpret_cast<const void*>(rep_of(n)));
  std::wstring::_Rep& rep = std::wstring::_S_empty_rep();
  CHECK(static_cast<void*>(&rep) == static_cast<void*>(std::wstring::_Rep::_S_empty_rep_storage));
  CHECK(rep._M_refdata() == chars_pointer(w));
  CHECK(reinterpret_cast<char*>(rep._M_refdata()) == reinterpret_cast<char*>(&rep) + 12);
  std::wstring from_empty(L"", alloc);
  CHECK(is_empty_rep(from_empty));
  std::wstring copy(from_empty);
  copy.begin();
  CHECK(empty_rep_untouched<std::wstring>());
  CHECK_EQ(std::wstring::_Rep::_S_terminal, 0);
  // Setting the length of the empty representation changes nothing.
  rep._M_set_length_and_sharable(5);
  CHECK(empty_rep_untouched<std::wstring>());
}

void unsigned_compare() {
  const wchar_t high[] = {static_cast<wchar_t>(0x80000000u), 0};
  const wchar_t one[] = {1, 0};
  std::wstring a(high, alloc);
  std::wstring b(one, alloc);
  CHECK_EQ(a.compare(b), 1);
  CHECK_EQ(b.compare(a), -1);
  CHECK_EQ(a.compare(one), 1);
  std::wstring abc(L"abc", alloc);
  CHECK_EQ(abc.compare(L"abcde"), -2);
  CHECK_EQ(abc.compare(L"ab"), 1);
  CHECK_EQ(abc.compare(L"abc"), 0);
}

void erase_by_iterators() {
  std::wstring s(L"01234", alloc);
  wchar_t* first = const_cast<wchar_t*>(chars_pointer(s));
  std::wstring::iterator at = s.erase(std::wstring::iterator(first + 1), std::wstring::iterator(first + 3));
  CHECK_EQ(s.size(), 3);
  CHECK(at.base() == chars_pointer(s) + 1);
  CHECK(memcmp(chars_pointer(s), L"034", 4 * sizeof(wchar_t)) == 0);
  CHECK_EQ(rep_of(s)->ref_count, 0);
  std::wstring copy(s);  // still sharable
  CHECK(chars_pointer(copy) == chars_pointer(s));
  CHECK_EQ(rep_of(s)->ref_count, 1);
}

void members() {
  std::wstring s(L"hello", alloc);
  s += L" world";
  s += std::wstring(L"!", alloc);
  s.append(L"??", 1);
  s.append(std::wstring(L"#", alloc));
  s += L'.';
  CHECK(memcmp(chars_pointer(s), L"hello world!?#.", 16 * sizeof(wchar_t)) == 0);
  CHECK_EQ(s.length(), 15);
  CHECK_EQ(s.find(L"wor", 0, 3), 6);
  CHECK_EQ(s.find(std::wstring(L"o", alloc), 5), 7);
  CHECK_EQ(s.find(L'o', 0), 4);
  CHECK_EQ(s.rfind(std::wstring(L"o", alloc), std::wstring::npos), 7);
  std::wstring sub = s.substr(6, 5);
  CHECK(memcmp(chars_pointer(sub), L"world", 6 * sizeof(wchar_t)) == 0);
  std::wstring none = s.substr(15, 3);
  CHECK(is_empty_rep(none));
  s.resize(5);
  s.resize(7, L'-');
  CHECK(memcmp(chars_pointer(s), L"hello--", 8 * sizeof(wchar_t)) == 0);
  s[0] = L'J';
  CHECK_EQ(rep_of(s)->ref_count, -1);
  std::wstring assigned;
  assigned.assign(s);
  CHECK(chars_pointer(assigned) != chars_pointer(s));  // a leaked one is cloned
  assigned.assign(L"xy", 2);
  CHECK_EQ(assigned.size(), 2);
  wchar_t out[3] = {};
  std::wstring::_S_copy_chars(out, std::wstring::const_iterator(chars_pointer(assigned)),
                              std::wstring::const_iterator(chars_pointer(assigned) + 2));
  CHECK(out[0] == L'x' && out[1] == L'y' && out[2] == 0);
}

}

int main() {
  capacities();
  check::set_case("empty representations");
  empty_representations();
  check::set_case("unsigned compare");
  unsigned_compare();
  check::set_case("erase by iterators");
  erase_by_iterators();
  check::set_case("members");
  members();
  check::set_case("substr errors");
  EXPECT_FATAL([](void*) { std::wstring(L"01234", std::allocator<wchar_t>()).substr(6, 1); }, nullptr,
               "std::out_of_range", "wstring::substr");
  EXPECT_FATAL([](void*) { std::wstring w; w.reserve(0x0FFFFFFF); }, nullptr, "std::length_error",
               "basic_string::_S_create");
  return check::finish();
}
