// The list node operations and the ring invariants they must keep.
#include "check.h"
#include "list_nodes.h"

namespace {

typedef std::_List_node_base node;

struct list {
  node sentinel;
  list() { sentinel.next = sentinel.prev = &sentinel; }
};

// The ring through the sentinel holds exactly the given nodes, in order,
// with every prev link matching.
bool holds(const list& l, node* const* expected, int count) {
  const node* at = &l.sentinel;
  for (int i = 0; i < count; ++i) {
    if (at->next != expected[i] || expected[i]->prev != at) return false;
    at = expected[i];
  }
  return at->next == &l.sentinel && l.sentinel.prev == at;
}

void hook_and_unhook() {
  list l;
  node a, b, c;
  a.hook(&l.sentinel);  // at the end
  c.hook(&l.sentinel);
  b.hook(&c);           // in front of c
  node* abc[] = {&a, &b, &c};
  CHECK(holds(l, abc, 3));
  b.unhook();
  node* ac[] = {&a, &c};
  CHECK(holds(l, ac, 2));
  CHECK(b.next == &c && b.prev == &a);  // its own links stay as they were
  a.unhook();
  c.unhook();
  CHECK(holds(l, nullptr, 0));
}

void swap_lists() {
  struct swap_case {
    const char* name;
    int first_count;
    int second_count;
  };
  const swap_case cases[] = {
    {"empty with three", 0, 3}, {"three with empty", 3, 0}, {"both empty", 0, 0},
    {"two with three", 2, 3},   {"one with one", 1, 1},
  };
  for (const swap_case& c : cases) {
    check::set_case(c.name);
    list x, y;
    node xs[3], ys[3];
    node* x_nodes[3];
    node* y_nodes[3];
    for (int i = 0; i < c.first_count; ++i) {
      xs[i].hook(&x.sentinel);
      x_nodes[i] = &xs[i];
    }
    for (int i = 0; i < c.second_count; ++i) {
      ys[i].hook(&y.sentinel);
      y_nodes[i] = &ys[i];
    }
    node::swap(x.sentinel, y.sentinel);
    CHECK(holds(x, y_nodes, c.second_count));
    CHECK(holds(y, x_nodes, c.first_count));
  }
}

void transfer_ranges() {
  check::set_case("one node to the front of another list");
  {
    list from, to;
    node a, b, c, d;
    a.hook(&from.sentinel);
    b.hook(&from.sentinel);
    c.hook(&from.sentinel);
    d.hook(&to.sentinel);
    d.transfer(&b, &c);  // [b, c) in front of d
    node* ac[] = {&a, &c};
    node* bd[] = {&b, &d};
    CHECK(holds(from, ac, 2));
    CHECK(holds(to, bd, 2));
  }
  check::set_case("a range within one list");
  {
    list l;
    node n[5];
    for (node& x : n) x.hook(&l.sentinel);
    n[0].transfer(&n[2], &n[4]);  // n2 n3 move in front of n0
    node* order[] = {&n[2], &n[3], &n[0], &n[1], &n[4]};
    CHECK(holds(l, order, 5));
    l.sentinel.transfer(&n[2], &n[0]);  // and on to the end
    node* again[] = {&n[0], &n[1], &n[4], &n[2], &n[3]};
    CHECK(holds(l, again, 5));
  }
  check::set_case("an empty range");
  {
    // first = last names no node: both rings stay as they were.
    list from, to;
    node a, b, d;
    a.hook(&from.sentinel);
    b.hook(&from.sentinel);
    d.hook(&to.sentinel);
    d.transfer(&b, &b);
    node* ab[] = {&a, &b};
    node* just_d[] = {&d};
    CHECK(holds(from, ab, 2));
    CHECK(holds(to, just_d, 1));
  }
  check::set_case("onto the range's own end");
  {
    list l;
    node a, b;
    a.hook(&l.sentinel);
    b.hook(&l.sentinel);
    b.transfer(&a, &b);  // this is last: nothing happens
    node* ab[] = {&a, &b};
    CHECK(holds(l, ab, 2));
  }
}

}

int main() {
  check::set_case("hook and unhook");
  hook_and_unhook();
  swap_lists();
  transfer_ranges();
  return check::finish();
}
