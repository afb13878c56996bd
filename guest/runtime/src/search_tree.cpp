// tsearch, tfind, tdelete and twalk over a plain unbalanced binary search
// tree. The caller holds the root pointer; the nodes are ours.
#include "search_tree.h"

#include "c_library.h"

namespace {

// 12 bytes; a node pointer is also a pointer to its key pointer.
struct search_node {
  const void* key;
  search_node* left;
  search_node* right;
};

static_assert(sizeof(search_node) == 12, "the search node is three words");

// The link that holds the node with an equal key, or the null link where it
// belongs; parent is the node holding that link (null for the root link).
search_node** find_link(const void* key, search_node** link, torvel_compare_fn compar, search_node** parent) {
  *parent = nullptr;
  while (*link != nullptr) {
    int order = compar(key, (*link)->key);
    if (order == 0) break;
    *parent = *link;
    link = order < 0 ? &(*link)->left : &(*link)->right;
  }
  return link;
}

// Recursion once per level: the tree is never rebalanced, so the depth is
// the tree's height.
void twalk_at(const search_node* node, torvel_visit_fn action, int depth) {
  if (node->left == nullptr && node->right == nullptr) {
    action(node, torvel_leaf, depth);
    return;
  }
  action(node, torvel_preorder, depth);
  if (node->left != nullptr) twalk_at(node->left, action, depth + 1);
  action(node, torvel_postorder, depth);
  if (node->right != nullptr) twalk_at(node->right, action, depth + 1);
  action(node, torvel_endorder, depth);
}

}

extern "C" {

void* tsearch(const void* key, void** rootp, torvel_compare_fn compar) {
  if (rootp == nullptr) return nullptr;
  search_node* parent;
  search_node** link = find_link(key, reinterpret_cast<search_node**>(rootp), compar, &parent);
  if (*link != nullptr) return *link;
  search_node* node = static_cast<search_node*>(malloc(sizeof(search_node)));
  if (node == nullptr) return nullptr;
  node->key = key;
  node->left = nullptr;
  node->right = nullptr;
  *link = node;
  return node;
}

void* tfind(const void* key, void* const* rootp, torvel_compare_fn compar) {
  if (rootp == nullptr) return nullptr;
  search_node* parent;
  return *find_link(key, reinterpret_cast<search_node**>(const_cast<void**>(rootp)), compar, &parent);
}

void* tdelete(const void* key, void** rootp, torvel_compare_fn compar) {
  if (rootp == nullptr) return nullptr;
  search_node* parent;
  search_node** link = find_link(key, reinterpret_cast<search_node**>(rootp), compar, &parent);
  search_node* n = *link;
  if (n == nullptr) return nullptr;

  search_node* replacement;
  if (n->left == nullptr) {
    replacement = n->right;
  } else if (n->right == nullptr) {
    replacement = n->left;
  } else {
    // The leftmost node of the right subtree, unlinked first.
    search_node** successor_link = &n->right;
    while ((*successor_link)->left != nullptr) successor_link = &(*successor_link)->left;
    replacement = *successor_link;
    *successor_link = replacement->right;
    replacement->left = n->left;
    replacement->right = n->right;
  }
  free(n);
  *link = replacement;
  return parent != nullptr ? static_cast<void*>(parent) : static_cast<void*>(rootp);
}

void twalk(const void* root, torvel_visit_fn action) {
  if (root != nullptr) twalk_at(static_cast<const search_node*>(root), action, 0);
}

}
