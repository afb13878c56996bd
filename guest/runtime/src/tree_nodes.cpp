// The red-black tree node algorithms. The header node's parent is the root,
// its left the leftmost and its right the rightmost node; these functions
// keep all three right as nodes come and go.
#include "tree_nodes.h"

namespace std {

namespace {

typedef _Rb_tree_node_base node;

inline bool is_black(const node* x) { return x == nullptr || x->color == _S_black; }

inline node* leftmost_below(node* x) {
  while (x->left != nullptr) x = x->left;
  return x;
}

inline node* rightmost_below(node* x) {
  while (x->right != nullptr) x = x->right;
  return x;
}

node* next_node(node* x) {
  if (x->right != nullptr) return leftmost_below(x->right);
  node* y = x->parent;
  while (x == y->right) {
    x = y;
    y = y->parent;
  }
  // From the rightmost node the climb ends at the header; when that node is
  // the root, x ends on the header and y on the root, and the header it is.
  return x->right != y ? y : x;
}

node* previous_node(node* x) {
  // The header: red, and its parent's parent is itself.
  if (x->color == _S_red && x->parent->parent == x) return x->right;
  if (x->left != nullptr) return rightmost_below(x->left);
  node* y = x->parent;
  while (x == y->left) {
    x = y;
    y = y->parent;
  }
  return y;
}

// Puts y in x's place under x's parent (or as the root).
inline void replace_child(node* x, node* y, node*& root) {
  if (x == root)
    root = y;
  else if (x == x->parent->left)
    x->parent->left = y;
  else
    x->parent->right = y;
}

}

_Rb_tree_node_base* _Rb_tree_increment(_Rb_tree_node_base* x) throw() { return next_node(x); }

const _Rb_tree_node_base* _Rb_tree_increment(const _Rb_tree_node_base* x) throw() {
  return next_node(const_cast<node*>(x));
}

_Rb_tree_node_base* _Rb_tree_decrement(_Rb_tree_node_base* x) throw() { return previous_node(x); }

const _Rb_tree_node_base* _Rb_tree_decrement(const _Rb_tree_node_base* x) throw() {
  return previous_node(const_cast<node*>(x));
}

void _Rb_tree_rotate_left(_Rb_tree_node_base* x, _Rb_tree_node_base*& root) throw() {
  node* y = x->right;
  x->right = y->left;
  if (y->left != nullptr) y->left->parent = x;
  y->parent = x->parent;
  replace_child(x, y, root);
  y->left = x;
  x->parent = y;
}

void _Rb_tree_rotate_right(_Rb_tree_node_base* x, _Rb_tree_node_base*& root) throw() {
  node* y = x->left;
  x->left = y->right;
  if (y->right != nullptr) y->right->parent = x;
  y->parent = x->parent;
  replace_child(x, y, root);
  y->right = x;
  x->parent = y;
}

void _Rb_tree_insert_and_rebalance(bool insert_left, _Rb_tree_node_base* x, _Rb_tree_node_base* p,
                                   _Rb_tree_node_base& header) throw() {
  node*& root = header.parent;
  x->parent = p;
  x->left = nullptr;
  x->right = nullptr;
  x->color = _S_red;

  if (insert_left) {
    p->left = x;  // for an empty tree this makes x the leftmost node too
    if (p == &header) {
      header.parent = x;
      header.right = x;
    } else if (p == header.left) {
      header.left = x;
    }
  } else {
    p->right = x;
    if (p == header.right) header.right = x;
  }

  while (x != root && x->parent->color == _S_red) {
    node* xp = x->parent;
    node* g = xp->parent;
    if (xp == g->left) {
      node* u = g->right;
      if (!is_black(u)) {
        xp->color = _S_black;
        u->color = _S_black;
        g->color = _S_red;
        x = g;
      } else {
        if (x == xp->right) {
          x = xp;
          _Rb_tree_rotate_left(x, root);
        }
        x->parent->color = _S_black;
        g->color = _S_red;
        _Rb_tree_rotate_right(g, root);
      }
    } else {
      node* u = g->left;
      if (!is_black(u)) {
        xp->color = _S_black;
        u->color = _S_black;
        g->color = _S_red;
        x = g;
      } else {
        if (x == xp->left) {
          x = xp;
          _Rb_tree_rotate_right(x, root);
        }
        x->parent->color = _S_black;
        g->color = _S_red;
        _Rb_tree_rotate_left(g, root);
      }
    }
  }
  root->color = _S_black;
}

_Rb_tree_node_base* _Rb_tree_rebalance_for_erase(_Rb_tree_node_base* z, _Rb_tree_node_base& header) throw() {
  node*& root = header.parent;
  node*& leftmost = header.left;
  node*& rightmost = header.right;
  node* y = z;
  node* x = nullptr;
  node* xp = nullptr;

  if (z->left == nullptr) {
    x = z->right;
  } else if (z->right == nullptr) {
    x = z->left;
  } else {
    y = leftmost_below(z->right);  // z's successor takes its place
    x = y->right;
  }

  if (y != z) {
    // Relink y into z's place; the guest's node objects keep their values.
    z->left->parent = y;
    y->left = z->left;
    if (y != z->right) {
      xp = y->parent;
      if (x != nullptr) x->parent = xp;
      xp->left = x;
      y->right = z->right;
      z->right->parent = y;
    } else {
      xp = y;
    }
    replace_child(z, y, root);
    y->parent = z->parent;
    _Rb_tree_color c = y->color;
    y->color = z->color;
    z->color = c;  // z now carries the colour that left the tree
  } else {
    xp = z->parent;
    if (x != nullptr) x->parent = xp;
    replace_child(z, x, root);
    if (leftmost == z) leftmost = z->right == nullptr ? z->parent : leftmost_below(x);
    if (rightmost == z) rightmost = z->left == nullptr ? z->parent : rightmost_below(x);
  }

  if (z->color == _S_red) return z;

  while (x != root && is_black(x)) {
    if (x == xp->left) {
      node* w = xp->right;
      if (w->color == _S_red) {
        w->color = _S_black;
        xp->color = _S_red;
        _Rb_tree_rotate_left(xp, root);
        w = xp->right;
      }
      if (is_black(w->left) && is_black(w->right)) {
        w->color = _S_red;
        x = xp;
        xp = xp->parent;
      } else {
        if (is_black(w->right)) {
          w->left->color = _S_black;
          w->color = _S_red;
          _Rb_tree_rotate_right(w, root);
          w = xp->right;
        }
        w->color = xp->color;
        xp->color = _S_black;
        if (w->right != nullptr) w->right->color = _S_black;
        _Rb_tree_rotate_left(xp, root);
        break;
      }
    } else {
      node* w = xp->left;
      if (w->color == _S_red) {
        w->color = _S_black;
        xp->color = _S_red;
        _Rb_tree_rotate_right(xp, root);
        w = xp->left;
      }
      if (is_black(w->right) && is_black(w->left)) {
        w->color = _S_red;
        x = xp;
        xp = xp->parent;
      } else {
        if (is_black(w->left)) {
          w->right->color = _S_black;
          w->color = _S_red;
          _Rb_tree_rotate_left(w, root);
          w = xp->left;
        }
        w->color = xp->color;
        xp->color = _S_black;
        if (w->left != nullptr) w->left->color = _S_black;
        _Rb_tree_rotate_right(xp, root);
        break;
      }
    }
  }
  if (x != nullptr) x->color = _S_black;
  return z;
}

unsigned int _Rb_tree_black_count(const _Rb_tree_node_base* node, const _Rb_tree_node_base* root) throw() {
  if (node == nullptr) return 0;
  unsigned int count = 0;
  for (;;) {
    if (node->color == _S_black) ++count;
    if (node == root) return count;
    node = node->parent;
  }
}

}
