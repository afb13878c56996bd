// What a program sees of a guest library at its boundary, in whichever form
// the library is loaded (ELF build, or Mach-O dylib through the test loader):
//  - a weak template member the program defines too has one definition in
//    the process, and the library's own references reach the program's
//    (the first definition in the lookup order), not a private copy;
//  - an exception thrown by a program callback passes through the library's
//    frames to the program's handler (the library's unwind information is
//    registered and read correctly).
#include "check.h"
#include "search_tree.h"
#include "string_view_helpers.h"

extern "C" unsigned int program_empty_rep[4] __asm__("_ZNSs4_Rep20_S_empty_rep_storageE");

namespace {

struct thrown {
  int key;
};

int compare_ints(const void* a, const void* b) {
  int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

int throwing_at;

int compare_throwing(const void* a, const void* b) {
  if (*static_cast<const int*>(b) == throwing_at) throw thrown{throwing_at};
  return compare_ints(a, b);
}

void visit_throwing(const void* node, int visit, int) {
  const int* key = *static_cast<const int* const*>(node);
  if (*key == throwing_at && (visit == torvel_leaf || visit == torvel_preorder)) throw thrown{*key};
}

void check_weak_member_shared() {
  check::set_case("weak member defined by the program");
  std::string s;
  CHECK(static_cast<const void*>(chars_pointer(s)) == static_cast<const void*>(program_empty_rep + 3));
  CHECK(static_cast<const void*>(std::string::_Rep::_S_empty_rep_storage) == program_empty_rep);
  std::string text("text", std::allocator<char>());
  std::string tail(text, 4, 1);
  CHECK(static_cast<const void*>(chars_pointer(tail)) == static_cast<const void*>(program_empty_rep + 3));
}

// Each case throws from a callback at a different depth of the library's
// recursion and expects the tree to be as it was.
struct unwind_case {
  const char* name;
  int throw_at;
  bool (*run)(void** root);
};

const int keys[] = {50, 20, 80, 10, 30, 70, 90, 25};

const unwind_case unwind_cases[] = {
  {"tsearch comparator at the root", 50,
   [](void** root) { static int k = 55; return tsearch(&k, root, compare_throwing) != nullptr; }},
  {"tsearch comparator three levels down", 30,
   [](void** root) { static int k = 27; return tsearch(&k, root, compare_throwing) != nullptr; }},
  {"tfind comparator", 80, [](void** root) { static int k = 75; return tfind(&k, root, compare_throwing) != nullptr; }},
  {"twalk visitor at a leaf", 25, [](void** root) { twalk(*root, visit_throwing); return true; }},
  {"twalk visitor inside", 20, [](void** root) { twalk(*root, visit_throwing); return true; }},
};

void check_unwinding() {
  void* root = nullptr;
  for (const int& k : keys) tsearch(&k, &root, compare_ints);
  for (const unwind_case& c : unwind_cases) {
    check::set_case(c.name);
    throwing_at = c.throw_at;
    int caught = 0;
    try {
      c.run(&root);
    } catch (const thrown& t) {
      caught = t.key;
    }
    CHECK_EQ(caught, c.throw_at);
    for (const int& k : keys) CHECK(tfind(&k, &root, compare_ints) != nullptr);
  }
}

}

int main() {
  check_weak_member_shared();
  check_unwinding();
  return check::finish();
}
