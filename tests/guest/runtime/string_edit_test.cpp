// The changing members: results, sharing left behind, and sources that lie
// inside the string being changed.
#include "check.h"
#include "string_view_helpers.h"

namespace {

const std::allocator<char> alloc;

struct edit_case {
  const char* name;
  void (*edit)(std::string& s);  // s starts as "abcdef"
  const char* result;
};

const edit_case edit_cases[] = {
  {"assign text", [](std::string& s) { s.assign("xyz", 2); }, "xy"},
  {"assign C string", [](std::string& s) { s.assign("hello"); }, "hello"},
  {"operator= C string", [](std::string& s) { s = "hi"; }, "hi"},
  {"operator= char", [](std::string& s) { s = 'q'; }, "q"},
  {"append text", [](std::string& s) { s.append("ghi", 2); }, "abcdefgh"},
  {"append nothing", [](std::string& s) { s.append("ghi", 0); }, "abcdef"},
  {"append C string", [](std::string& s) { s.append("gh"); }, "abcdefgh"},
  {"operator+= C string", [](std::string& s) { s += "g"; }, "abcdefg"},
  {"operator+= char", [](std::string& s) { s += 'g'; }, "abcdefg"},
  {"push_back", [](std::string& s) { s.push_back('!'); }, "abcdef!"},
  {"append copies", [](std::string& s) { s.append(3, 'z'); }, "abcdefzzz"},
  {"append zero copies", [](std::string& s) { s.append(0, 'z'); }, "abcdef"},
  {"append substring", [](std::string& s) { s.append(std::string("0123", alloc), 1, 2); }, "abcdef12"},
  {"append substring clamped", [](std::string& s) { s.append(std::string("0123", alloc), 2, 99); }, "abcdef23"},
  {"resize longer", [](std::string& s) { s.resize(8, '.'); }, "abcdef.."},
  {"resize shorter", [](std::string& s) { s.resize(2, '.'); }, "ab"},
  {"resize with zeros", [](std::string& s) { s.resize(3); }, "abc"},
  {"clear", [](std::string& s) { s.clear(); }, ""},
  {"replace text", [](std::string& s) { s.replace(1, 2, "XYZ", 3); }, "aXYZdef"},
  {"replace clamped", [](std::string& s) { s.replace(4, 99, "!"); }, "abcd!"},
  {"replace with string", [](std::string& s) { s.replace(0, 1, std::string("AB", alloc)); }, "ABbcdef"},
  {"replace with copies", [](std::string& s) { s.replace(1, 4, 2, '-'); }, "a--f"},
  {"_M_replace_aux", [](std::string& s) { s._M_replace_aux(6, 0, 2, '+'); }, "abcdef++"},
  {"insert", [](std::string& s) { s.insert(3, "123", 3); }, "abc123def"},
  {"erase", [](std::string& s) { s.erase(1, 2); }, "adef"},
  {"erase clamped", [](std::string& s) { s.erase(2, 100); }, "ab"},
  // Sources inside the string itself are read before it changes.
  {"self append", [](std::string& s) { s.append(chars_pointer(s), 3); }, "abcdefabc"},
  {"self append whole", [](std::string& s) { s.append(s); }, "abcdefabcdef"},
  {"self insert", [](std::string& s) { s.insert(1, chars_pointer(s) + 3, 3); }, "adefbcdef"},
  {"self replace", [](std::string& s) { s.replace(0, 2, chars_pointer(s) + 2, 4); }, "cdefcdef"},
  {"self assign tail", [](std::string& s) { s.assign(chars_pointer(s) + 2, 3); }, "cde"},
};

void check_edits() {
  for (const edit_case& c : edit_cases) {
    // Unshared, with room to spare (no reallocation).
    check::set_case(c.name);
    {
      std::string s("abcdef", alloc);
      s.reserve(64);
      c.edit(s);
      CHECK_TEXT(text_of(s), c.result);
      CHECK_EQ(rep_of(s)->length, strlen(c.result));
      CHECK_EQ(rep_of(s)->ref_count, 0);
    }
    // Unshared and full (reallocates whenever it grows).
    {
      std::string s("abcdef", alloc);
      c.edit(s);
      CHECK_TEXT(text_of(s), c.result);
    }
    // Shared: the other owner keeps the old text.
    {
      std::string s("abcdef", alloc);
      std::string other(s);
      c.edit(s);
      CHECK_TEXT(text_of(s), c.result);
      CHECK_TEXT(text_of(other), "abcdef");
      // Only the members that change nothing leave the two sharing.
      bool still_shared = chars_pointer(s) == chars_pointer(other);
      CHECK_EQ(still_shared, strcmp(c.result, "abcdef") == 0);
      CHECK_EQ(rep_of(other)->ref_count, still_shared ? 1 : 0);
    }
  }
}

void check_self_append_reallocating() {
  check::set_case("self append that reallocates");
  std::string s("abcdef", alloc);
  CHECK_EQ(rep_of(s)->capacity, 6);
  const char* old_chars = chars_pointer(s);
  s.append(chars_pointer(s), 3);
  CHECK(chars_pointer(s) != old_chars);
  CHECK_TEXT(text_of(s), "abcdefabc");
}

// Sources up to 512 bytes are kept aside on the stack; larger ones in a
// temporary heap block that is given back.
void check_source_staging() {
  static char source[600];
  memset(source, 's', sizeof source);
  struct staging_case {
    const char* name;
    size_t n;
    unsigned long allocations;
  };
  const staging_case cases[] = {{"512 bytes on the stack", 512, 0}, {"513 bytes in a block", 513, 1}};
  for (const staging_case& c : cases) {
    check::set_case(c.name);
    std::string s;
    s.reserve(1000);
    check::heap_probe heap;
    s.append(source, c.n);
    CHECK_EQ(heap.allocations(), c.allocations);
    CHECK_EQ(heap.live(), 0);
    CHECK_EQ(rep_of(s)->length, c.n);
  }
}

void check_resize_same_length_keeps_sharing() {
  check::set_case("resize to the same length");
  std::string s("abc", alloc);
  std::string other(s);
  s.resize(3, 'x');
  CHECK(chars_pointer(s) == chars_pointer(other));
  CHECK_EQ(rep_of(s)->ref_count, 1);
}

void check_access() {
  check::set_case("access");
  std::string s("hello", alloc);
  const std::string& c = s;
  CHECK_EQ(c.size(), 5);
  CHECK_EQ(c.length(), 5);
  CHECK(!c.empty());
  CHECK(std::string().empty());
  CHECK(c.c_str() == chars_pointer(s));
  CHECK(c.data() == chars_pointer(s));
  CHECK(c.begin().base() == chars_pointer(s));
  CHECK(c.end().base() == chars_pointer(s) + 5);
  CHECK(&c[4] == chars_pointer(s) + 4);
  CHECK(&c[5] == chars_pointer(s) + 5);  // unchecked: the terminator
  CHECK_EQ(c.at(4), 'o');
  CHECK_EQ(rep_of(s)->ref_count, 0);  // const access never leaks
  char out[8] = "-------";
  CHECK_EQ(c.copy(out, 3, 1), 3);
  CHECK_TEXT(out, "ell----");
  CHECK_EQ(c.copy(out, 10, 3), 2);
  CHECK_TEXT(out, "lol----");
  std::string sub = c.substr(1, 3);
  CHECK_TEXT(text_of(sub), "ell");
  CHECK(chars_pointer(sub) != chars_pointer(s));
  std::string whole = c.substr(0, std::string::npos);
  CHECK(chars_pointer(whole) != chars_pointer(s));  // never shares
  CHECK_EQ(rep_of(s)->ref_count, 0);
  std::string tail(s, 2, std::string::npos);
  CHECK_TEXT(text_of(tail), "llo");
  CHECK_EQ(rep_of(tail)->capacity, 3);
}

}

int main() {
  check_edits();
  check_self_append_reallocating();
  check_source_staging();
  check_resize_same_length_keeps_sharing();
  check_access();
  return check::finish();
}
