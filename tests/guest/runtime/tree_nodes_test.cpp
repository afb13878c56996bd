// The red-black tree node functions, driven the way an ordered map drives
// them, with the red-black invariants, the header's links and both
// traversal directions checked after every step.
#include <stdlib.h>

#include "check.h"
#include "tree_nodes.h"

namespace {

typedef std::_Rb_tree_node_base base;

struct int_node : base {
  int key;
};

struct tree {
  base header;

  tree() {
    header.color = std::_S_red;
    header.parent = nullptr;
    header.left = &header;
    header.right = &header;
  }
  base* root() const { return header.parent; }
};

int key_of(const base* n) { return static_cast<const int_node*>(n)->key; }

// Inserts like a map's unique insertion: walk down from the root, then link.
bool insert_unique(tree& t, int_node* n) {
  base* p = &t.header;
  base* x = t.root();
  bool went_left = true;
  while (x != nullptr) {
    p = x;
    went_left = n->key < key_of(x);
    if (n->key == key_of(x)) return false;
    x = went_left ? x->left : x->right;
  }
  std::_Rb_tree_insert_and_rebalance(p == &t.header || went_left, n, p, t.header);
  return true;
}

// Black height of the subtree at x, checking colours and parent links on the
// way; -1 on any violation.
int black_height(const base* x, const base* parent) {
  if (x == nullptr) return 1;
  if (x->parent != parent) return -1;
  if (x->color == std::_S_red &&
      ((x->left && x->left->color == std::_S_red) || (x->right && x->right->color == std::_S_red)))
    return -1;
  if (x->left && key_of(x->left) >= key_of(x)) return -1;
  if (x->right && key_of(x->right) <= key_of(x)) return -1;
  int left = black_height(x->left, x);
  int right = black_height(x->right, x);
  if (left < 0 || left != right) return -1;
  return left + (x->color == std::_S_black ? 1 : 0);
}

// present[k] tells which keys the tree must hold.
void check_tree(const tree& t, const bool* present, int key_space, int count) {
  CHECK(black_height(t.root(), &t.header) > 0);
  CHECK_EQ(t.header.color, std::_S_red);
  if (count == 0) {
    CHECK(t.root() == nullptr);
    CHECK(t.header.left == &t.header);
    CHECK(t.header.right == &t.header);
    return;
  }
  CHECK_EQ(t.root()->color, std::_S_black);
  const base* leftmost = t.root();
  while (leftmost->left) leftmost = leftmost->left;
  const base* rightmost = t.root();
  while (rightmost->right) rightmost = rightmost->right;
  CHECK(t.header.left == leftmost);
  CHECK(t.header.right == rightmost);

  // In order, forwards through increment and backwards through decrement.
  int seen = 0;
  int expected_key = -1;
  for (const base* n = t.header.left; n != &t.header; n = std::_Rb_tree_increment(n)) {
    do ++expected_key; while (expected_key < key_space && !present[expected_key]);
    if (expected_key >= key_space || key_of(n) != expected_key) {
      CHECK(!"increment order");
      return;
    }
    ++seen;
  }
  CHECK_EQ(seen, count);
  expected_key = key_space;
  // Backwards from the header down to the leftmost node (stepping back from
  // the leftmost node is not defined).
  seen = 0;
  for (base* n = std::_Rb_tree_decrement(const_cast<base*>(&t.header));; n = std::_Rb_tree_decrement(n)) {
    do --expected_key; while (expected_key >= 0 && !present[expected_key]);
    if (expected_key < 0 || key_of(n) != expected_key) {
      CHECK(!"decrement order");
      return;
    }
    ++seen;
    if (n == t.header.left) break;
  }
  CHECK_EQ(seen, count);
}

void randomized() {
  const int key_space = 600;
  static int_node nodes[key_space];
  static bool present[key_space];
  tree t;
  int count = 0;
  srand(12345);
  for (int step = 0; step < 6000; ++step) {
    int k = rand() % key_space;
    // Grow during the first half, shrink more often in the second.
    bool erase = present[k] && (step < 3000 ? rand() % 3 == 0 : rand() % 3 != 0);
    if (present[k] && erase) {
      base* freed = std::_Rb_tree_rebalance_for_erase(&nodes[k], t.header);
      CHECK(freed == &nodes[k]);
      present[k] = false;
      --count;
    } else if (!present[k]) {
      nodes[k].key = k;
      CHECK(insert_unique(t, &nodes[k]));
      present[k] = true;
      ++count;
    }
    check_tree(t, present, key_space, count);
  }
  // Empty it completely, in key order.
  for (int k = 0; k < key_space; ++k) {
    if (!present[k]) continue;
    std::_Rb_tree_rebalance_for_erase(&nodes[k], t.header);
    present[k] = false;
    --count;
    check_tree(t, present, key_space, count);
  }
}

void corner_cases() {
  check::set_case("insert into an empty tree");
  tree t;
  int_node a;
  a.key = 10;
  std::_Rb_tree_insert_and_rebalance(true, &a, &t.header, t.header);
  CHECK(t.root() == &a);
  CHECK(t.header.left == &a);
  CHECK(t.header.right == &a);
  CHECK(a.parent == &t.header);
  CHECK_EQ(a.color, std::_S_black);

  check::set_case("header and rightmost root");
  CHECK(std::_Rb_tree_decrement(&t.header) == &a);
  CHECK(std::_Rb_tree_increment(static_cast<base*>(&a)) == &t.header);

  check::set_case("black count");
  CHECK_EQ(std::_Rb_tree_black_count(nullptr, t.root()), 0);
  CHECK_EQ(std::_Rb_tree_black_count(&a, &a), 1);

  check::set_case("erase the only node");
  CHECK(std::_Rb_tree_rebalance_for_erase(&a, t.header) == &a);
  CHECK(t.root() == nullptr);
  CHECK(t.header.left == &t.header);
  CHECK(t.header.right == &t.header);

  check::set_case("erase a node with two children");
  // 20 (black) with children 10 and 30 (red), 30 with left child 25 after
  // recolouring; the successor of 20 is 25, which must take its place.
  tree u;
  int_node n[4];
  const int keys[4] = {20, 10, 30, 25};
  for (int i = 0; i < 4; ++i) {
    n[i].key = keys[i];
    insert_unique(u, &n[i]);
  }
  std::_Rb_tree_color successor_colour = n[3].color;
  base* old_left = n[0].left;
  CHECK(std::_Rb_tree_rebalance_for_erase(&n[0], u.header) == &n[0]);
  CHECK(u.root() == &n[3]);           // relinked, not copied
  CHECK(n[3].left == old_left);
  CHECK_EQ(n[0].color, successor_colour);  // the erased node takes the successor's colour
  CHECK_EQ(key_of(u.header.left), 10);
  CHECK_EQ(key_of(u.header.right), 30);

  check::set_case("rotations");
  // x with right child y, which has a left child b: rotating left at x makes
  // y the root with x on its left and b as x's right child.
  base x = {}, y = {}, b = {};
  base* root = &x;
  x.right = &y;
  y.parent = &x;
  y.left = &b;
  b.parent = &y;
  std::_Rb_tree_rotate_left(&x, root);
  CHECK(root == &y);
  CHECK(y.left == &x && x.parent == &y);
  CHECK(x.right == &b && b.parent == &x);
  std::_Rb_tree_rotate_right(&y, root);
  CHECK(root == &x);
  CHECK(x.right == &y && y.parent == &x);
  CHECK(y.left == &b && b.parent == &y);
}

}


int main() {
  check::set_case("randomized");
  randomized();
  corner_cases();
  return check::finish();
}
