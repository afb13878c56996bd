// The red-black tree node functions of the guest ABI's ordered containers.
// The guest's inlined map and set code owns the nodes (this record is the
// leading part of each of its nodes) and calls these functions by name to
// step through, link and unlink them. They never allocate or free.
#ifndef TORVEL_TREE_NODES_H
#define TORVEL_TREE_NODES_H

#include "torvel_export.h"

namespace std {

enum _Rb_tree_color { _S_red = false, _S_black = true };

// One node, or the tree's header node: for the header, parent is the root
// (null when empty), left the leftmost node and right the rightmost node
// (both the header itself when empty), and color is red.
struct TORVEL_EXPORT _Rb_tree_node_base {
  _Rb_tree_color color;
  _Rb_tree_node_base* parent;
  _Rb_tree_node_base* left;
  _Rb_tree_node_base* right;
};

// The leading part of every node of the guest's maps and sets, read by its
// inlined container code.
static_assert(sizeof(_Rb_tree_color) == 4, "the colour is a 32-bit enumeration");
static_assert(sizeof(_Rb_tree_node_base) == 16, "a tree node record is four words");
static_assert(__builtin_offsetof(_Rb_tree_node_base, color) == 0, "color is the first word");
static_assert(__builtin_offsetof(_Rb_tree_node_base, parent) == 4, "parent is the second word");
static_assert(__builtin_offsetof(_Rb_tree_node_base, left) == 8, "left is the third word");
static_assert(__builtin_offsetof(_Rb_tree_node_base, right) == 12, "right is the fourth word");

TORVEL_EXPORT _Rb_tree_node_base* _Rb_tree_increment(_Rb_tree_node_base* x) throw();
TORVEL_EXPORT const _Rb_tree_node_base* _Rb_tree_increment(const _Rb_tree_node_base* x) throw();
TORVEL_EXPORT _Rb_tree_node_base* _Rb_tree_decrement(_Rb_tree_node_base* x) throw();
TORVEL_EXPORT const _Rb_tree_node_base* _Rb_tree_decrement(const _Rb_tree_node_base* x) throw();

TORVEL_EXPORT void _Rb_tree_rotate_left(_Rb_tree_node_base* x, _Rb_tree_node_base*& root) throw();
TORVEL_EXPORT void _Rb_tree_rotate_right(_Rb_tree_node_base* x, _Rb_tree_node_base*& root) throw();

// Links the new node x below p (as its left child when insert_left) and
// restores the colouring; keeps the header's links.
TORVEL_EXPORT void _Rb_tree_insert_and_rebalance(bool insert_left, _Rb_tree_node_base* x,
                                                 _Rb_tree_node_base* p, _Rb_tree_node_base& header) throw();

// Unlinks z, restores the colouring and the header's links; returns z for
// the caller to free.
TORVEL_EXPORT _Rb_tree_node_base* _Rb_tree_rebalance_for_erase(_Rb_tree_node_base* z,
                                                               _Rb_tree_node_base& header) throw();

// Black nodes on the path from node up to root, both included.
TORVEL_EXPORT unsigned int _Rb_tree_black_count(const _Rb_tree_node_base* node,
                                                const _Rb_tree_node_base* root) throw();

}

#endif
