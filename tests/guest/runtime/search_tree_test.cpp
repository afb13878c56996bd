// tsearch, tfind, tdelete and twalk: the tree's shape, the visit order and
// depths, and the edge cases of each function.
#include <stdio.h>
#include <string.h>

#include "check.h"
#include "search_tree.h"
#include "test_host.h"

namespace {

struct search_node {
  const void* key;
  search_node* left;
  search_node* right;
};

int compare_calls;

int compare_ints(const void* a, const void* b) {
  ++compare_calls;
  int x = *static_cast<const int*>(a);
  int y = *static_cast<const int*>(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

int key_at(const void* node) { return *static_cast<const int*>(static_cast<const search_node*>(node)->key); }

char walk_log[512];

void log_visit(const void* node, int visit, int depth) {
  static const char* const names[] = {"pre", "post", "end", "leaf"};
  char entry[32];
  snprintf(entry, sizeof entry, "%s%s%d@%d", walk_log[0] ? " " : "", names[visit], key_at(node), depth);
  strncat(walk_log, entry, sizeof walk_log - strlen(walk_log) - 1);
}

const char* walk(void* root) {
  walk_log[0] = '\0';
  twalk(root, log_visit);
  return walk_log;
}

int keys[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

void chain_and_walk() {
  void* root = nullptr;
  for (int k = 1; k <= 3; ++k) CHECK(tsearch(&keys[k], &root, compare_ints) != nullptr);
  const search_node* r = static_cast<search_node*>(root);
  CHECK(r->left == nullptr && r->right != nullptr && r->right->right != nullptr);
  CHECK_TEXT(walk(root), "pre1@0 post1@0 pre2@1 post2@1 leaf3@2 end2@1 end1@0");
  for (int k = 1; k <= 3; ++k) tdelete(&keys[k], &root, compare_ints);
  CHECK(root == nullptr);
  CHECK_TEXT(walk(root), "");
}

void search_existing() {
  void* root = nullptr;
  void* first = tsearch(&keys[5], &root, compare_ints);
  int other_five = 5;
  check::heap_probe heap;
  void* again = tsearch(&other_five, &root, compare_ints);
  CHECK(again == first);
  CHECK(*static_cast<const int* const*>(again) == &keys[5]);  // the node is a pointer to its key
  CHECK_EQ(heap.allocations(), 0);
  CHECK(tfind(&other_five, &root, compare_ints) == first);
  int missing = 7;
  CHECK(tfind(&missing, &root, compare_ints) == nullptr);
  tdelete(&keys[5], &root, compare_ints);
}

void delete_cases() {
  check::set_case("delete the only node");
  {
    void* root = nullptr;
    tsearch(&keys[4], &root, compare_ints);
    check::heap_probe heap;
    CHECK(tdelete(&keys[4], &root, compare_ints) == &root);
    CHECK(root == nullptr);
    CHECK_EQ(heap.live(), -1);
  }
  check::set_case("delete with two children, right child without a left");
  {
    // 5 with children 3 and 7; 7 has only a right child 8.
    void* root = nullptr;
    const int order[] = {5, 3, 7, 8};
    for (int k : order) tsearch(&keys[k], &root, compare_ints);
    CHECK(tdelete(&keys[5], &root, compare_ints) == &root);
    CHECK_EQ(key_at(root), 7);
    CHECK_TEXT(walk(root), "pre7@0 leaf3@1 post7@0 leaf8@1 end7@0");
    const int rest[] = {3, 7, 8};
    for (int k : rest) tdelete(&keys[k], &root, compare_ints);
  }
  check::set_case("delete with two children, successor deeper");
  {
    // 5 with 2 and 9; 9 has left 7, which has left 6 and right 8.
    void* root = nullptr;
    const int order[] = {5, 2, 9, 7, 6, 8};
    for (int k : order) tsearch(&keys[k], &root, compare_ints);
    void* parent = tdelete(&keys[5], &root, compare_ints);
    CHECK(parent == &root);
    CHECK_EQ(key_at(root), 6);
    CHECK_TEXT(walk(root),
               "pre6@0 leaf2@1 post6@0 pre9@1 pre7@2 post7@2 leaf8@3 end7@2 post9@1 end9@1 end6@0");
    // A deleted leaf reports its parent.
    void* leaf_parent = tdelete(&keys[8], &root, compare_ints);
    CHECK(leaf_parent != &root);
    CHECK_EQ(key_at(leaf_parent), 7);
    const int rest[] = {2, 9, 7, 6};
    for (int k : rest) tdelete(&keys[k], &root, compare_ints);
    CHECK(root == nullptr);
  }
  check::set_case("delete a missing key");
  {
    void* root = nullptr;
    tsearch(&keys[1], &root, compare_ints);
    void* before = root;
    CHECK(tdelete(&keys[2], &root, compare_ints) == nullptr);
    CHECK(root == before);
    CHECK(tdelete(&keys[2], &root, compare_ints) == nullptr);
    tdelete(&keys[1], &root, compare_ints);
    CHECK(tdelete(&keys[1], &root, compare_ints) == nullptr);  // empty tree
  }
}

void heap_exhausted() {
  void* root = nullptr;
  tsearch(&keys[2], &root, compare_ints);
  torvel_test_fail_allocations(1);
  CHECK(tsearch(&keys[3], &root, compare_ints) == nullptr);
  const search_node* r = static_cast<search_node*>(root);
  CHECK(r->left == nullptr && r->right == nullptr);
  CHECK(tsearch(&keys[3], &root, compare_ints) != nullptr);  // the next one succeeds
  tdelete(&keys[3], &root, compare_ints);
  tdelete(&keys[2], &root, compare_ints);
}

void null_root_pointer() {
  compare_calls = 0;
  CHECK(tsearch(&keys[1], nullptr, compare_ints) == nullptr);
  CHECK(tfind(&keys[1], nullptr, compare_ints) == nullptr);
  CHECK(tdelete(&keys[1], nullptr, compare_ints) == nullptr);
  CHECK_EQ(compare_calls, 0);
}

}

int main() {
  static_assert(sizeof(search_node) == 12, "three words");
  struct step {
    const char* name;
    void (*run)();
  };
  const step steps[] = {
    {"chain and walk", chain_and_walk},
    {"search an existing key", search_existing},
    {"delete", delete_cases},
    {"null root pointer", null_root_pointer},
    {"heap exhausted", heap_exhausted},
  };
  check::heap_probe heap;
  for (const step& s : steps) {
    check::set_case(s.name);
    s.run();
  }
  check::set_case("all nodes freed");
  CHECK_EQ(heap.live(), 0);
  return check::finish();
}
