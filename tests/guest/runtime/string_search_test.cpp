// The search members and compare, with their boundary cases.
#include <stdio.h>

#include "check.h"
#include "string_view_helpers.h"

namespace {

const std::allocator<char> alloc;
const size_t npos = std::string::npos;

enum member {
  find_n, find_c_string, find_string, find_char,
  rfind_n, rfind_c_string, rfind_string, rfind_char,
  first_of_n, first_of_char, last_of_n, last_of_c_string, last_of_char,
  first_not_of_n, first_not_of_c_string, first_not_of_char, last_not_of_n,
};

struct search_case {
  member which;
  const char* haystack;
  const char* needle;  // for the char forms, its first character
  size_t pos;
  size_t n;            // for the forms that take a count
  size_t result;
};

const search_case search_cases[] = {
  {find_n, "abc", "", 3, 0, 3},
  {find_n, "abc", "", 4, 0, npos},
  {find_n, "abc", "a", npos, 1, npos},
  {find_n, "abcabc", "bc", 0, 2, 1},
  {find_n, "abcabc", "bc", 2, 2, 4},
  {find_n, "abcabc", "bcX", 0, 2, 1},  // only n characters count
  {find_n, "abc", "abcd", 0, 4, npos},
  {find_n, "abc", "c", 2, 1, 2},
  {find_c_string, "hello world", "o w", 0, 0, 4},
  {find_c_string, "hello world", "", 11, 0, 11},
  {find_string, "hello world", "world", 7, 0, npos},
  {find_string, "hello world", "world", 6, 0, 6},
  {find_char, "banana", "n", 3, 0, 4},
  {find_char, "banana", "x", 0, 0, npos},
  {find_char, "banana", "a", 6, 0, npos},
  {rfind_char, "", "a", npos, 0, npos},
  {rfind_char, "banana", "a", npos, 0, 5},
  {rfind_char, "banana", "a", 4, 0, 3},
  {rfind_char, "banana", "b", 0, 0, 0},
  {rfind_n, "abcabc", "abc", npos, 3, 3},
  {rfind_n, "abcabc", "abc", 2, 3, 0},
  {rfind_n, "abc", "abcd", npos, 4, npos},
  {rfind_n, "abc", "", npos, 0, 3},
  {rfind_n, "abc", "", 1, 0, 1},
  {rfind_c_string, "a.b.c", ".", npos, 0, 3},
  {rfind_string, "a.b.c", ".b", 0, 0, npos},
  {rfind_string, "a.b.c", ".b", 1, 0, 1},
  {first_of_n, "abc", "xyz", 0, 0, npos},  // n = 0
  {first_of_n, "hello", "ol", 0, 2, 2},
  {first_of_n, "hello", "ol", 3, 2, 3},
  {first_of_n, "hello", "ol", 5, 2, npos},
  {first_of_char, "hello", "l", 0, 0, 2},
  {last_of_n, "", "a", npos, 1, npos},
  {last_of_n, "hello", "he", npos, 2, 1},
  {last_of_n, "hello", "xyz", npos, 3, npos},
  {last_of_n, "hello", "l", 2, 1, 2},
  {last_of_c_string, "path/to/file", "/", npos, 0, 7},
  {last_of_c_string, "path/to/file", "/", 6, 0, 4},
  {last_of_char, "hello", "l", npos, 0, 3},
  {first_not_of_n, "abc", "", 1, 0, 1},
  {first_not_of_n, "abc", "", 3, 0, npos},
  {first_not_of_n, "aaab", "a", 0, 1, 3},
  {first_not_of_n, "aaa", "a", 0, 1, npos},
  {first_not_of_c_string, "  x ", " ", 0, 0, 2},
  {first_not_of_char, "xxy", "x", 0, 0, 2},
  {first_not_of_char, "xxy", "x", 3, 0, npos},
  {last_not_of_n, "abc", "", npos, 0, 2},
  {last_not_of_n, "", "", npos, 0, npos},
  {last_not_of_n, "abc  ", " ", npos, 1, 2},
  {last_not_of_n, "abc", "abc", npos, 3, npos},
  {last_not_of_n, "abcd", "d", 1, 1, 1},
};

size_t search(const search_case& c) {
  const std::string s(c.haystack, alloc);
  const std::string needle(c.needle, alloc);
  switch (c.which) {
    case find_n: return s.find(c.needle, c.pos, c.n);
    case find_c_string: return s.find(c.needle, c.pos);
    case find_string: return s.find(needle, c.pos);
    case find_char: return s.find(c.needle[0], c.pos);
    case rfind_n: return s.rfind(c.needle, c.pos, c.n);
    case rfind_c_string: return s.rfind(c.needle, c.pos);
    case rfind_string: return s.rfind(needle, c.pos);
    case rfind_char: return s.rfind(c.needle[0], c.pos);
    case first_of_n: return s.find_first_of(c.needle, c.pos, c.n);
    case first_of_char: return s.find_first_of(c.needle[0], c.pos);
    case last_of_n: return s.find_last_of(c.needle, c.pos, c.n);
    case last_of_c_string: return s.find_last_of(c.needle, c.pos);
    case last_of_char: return s.find_last_of(c.needle[0], c.pos);
    case first_not_of_n: return s.find_first_not_of(c.needle, c.pos, c.n);
    case first_not_of_c_string: return s.find_first_not_of(c.needle, c.pos);
    case first_not_of_char: return s.find_first_not_of(c.needle[0], c.pos);
    case last_not_of_n: return s.find_last_not_of(c.needle, c.pos, c.n);
  }
  return 0;
}

struct compare_case {
  const char* name;
  const char* left;
  size_t pos;   // npos: the whole-string forms
  size_t n;
  const char* right;
  int result;
};

const compare_case compare_cases[] = {
  {"equal", "abc", npos, 0, "abc", 0},
  {"prefix is smaller by the length difference", "abc", npos, 0, "abcde", -2},
  {"longer is larger", "abcde", npos, 0, "ab", 3},
  {"differing byte gives memcmp's value", "abd", npos, 0, "abc", 1},
  {"bytes compare unsigned", "\x80", npos, 0, "\x01", 0x7f},
  {"part of the string", "xxabcxx", 2, 3, "abc", 0},
  {"part clamped to the end", "xxabc", 2, 99, "abc", 0},
  {"empty part", "abc", 3, 5, "", 0},
  {"empty part against text", "abc", 3, 5, "a", -1},
};

}

int main() {
  for (const search_case& c : search_cases) {
    static char name[64];
    snprintf(name, sizeof name, "search %d in \"%s\" for \"%s\"", c.which, c.haystack, c.needle);
    check::set_case(name);
    CHECK_EQ(search(c), c.result);
  }

  for (const compare_case& c : compare_cases) {
    check::set_case(c.name);
    const std::string left(c.left, alloc);
    const std::string right(c.right, alloc);
    if (c.pos == npos) {
      CHECK_EQ(left.compare(right), c.result);
      CHECK_EQ(left.compare(c.right), c.result);
    } else {
      CHECK_EQ(left.compare(c.pos, c.n, right), c.result);
      CHECK_EQ(left.compare(c.pos, c.n, c.right), c.result);
      CHECK_EQ(left.compare(c.pos, c.n, c.right, strlen(c.right)), c.result);
    }
  }
  return check::finish();
}
