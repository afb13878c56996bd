// The list node functions of the guest ABI's std::list: a list is a ring of
// these records through its own sentinel node. The guest owns the nodes;
// these functions only relink them.
#ifndef TORVEL_LIST_NODES_H
#define TORVEL_LIST_NODES_H

#include "torvel_export.h"

namespace std {

struct TORVEL_EXPORT _List_node_base {
  _List_node_base* next;
  _List_node_base* prev;

  // Exchanges the contents of the lists whose sentinels are x and y.
  static void swap(_List_node_base& x, _List_node_base& y) throw();

  // Moves [first, last) in front of this node; an empty range moves nothing.
  void transfer(_List_node_base* first, _List_node_base* last) throw();

  // Links this node in front of position.
  void hook(_List_node_base* position) throw();

  // Takes this node out of its ring; its own links are left as they were.
  void unhook() throw();
};

// The leading part of every node of the guest's lists.
static_assert(sizeof(_List_node_base) == 8, "a list node record is two words");
static_assert(__builtin_offsetof(_List_node_base, next) == 0, "next is the first word");
static_assert(__builtin_offsetof(_List_node_base, prev) == 4, "prev is the second word");

}

#endif
