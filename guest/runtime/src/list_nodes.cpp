// The list node operations: relinking records of a ring through a sentinel.
#include "list_nodes.h"

namespace std {

void _List_node_base::swap(_List_node_base& x, _List_node_base& y) throw() {
  // x's ring, as it was on entry.
  _List_node_base* x_first = x.next;
  _List_node_base* x_last = x.prev;

  if (y.next != &y) {
    x.next = y.next;
    x.prev = y.prev;
    x.next->prev = &x;
    x.prev->next = &x;
  } else {
    x.next = x.prev = &x;
  }

  if (x_first != &x) {
    y.next = x_first;
    y.prev = x_last;
    y.next->prev = &y;
    y.prev->next = &y;
  } else {
    y.next = y.prev = &y;
  }
}

void _List_node_base::transfer(_List_node_base* first, _List_node_base* last) throw() {
  // Nothing to move when this already stands there, or when the range is
  // empty (relinking an empty range would cut both rings apart).
  if (this == last || first == last) return;
  last->prev->next = this;
  first->prev->next = last;
  prev->next = first;
  _List_node_base* old_prev = prev;
  prev = last->prev;
  last->prev = first->prev;
  first->prev = old_prev;
}

void _List_node_base::hook(_List_node_base* position) throw() {
  next = position;
  prev = position->prev;
  position->prev->next = this;
  position->prev = this;
}

void _List_node_base::unhook() throw() {
  prev->next = next;
  next->prev = prev;
}

}
