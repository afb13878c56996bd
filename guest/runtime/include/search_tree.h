// tsearch and its relatives: the C library's unbalanced binary search tree,
// whose 12-byte nodes this library allocates with malloc.
#ifndef TORVEL_SEARCH_TREE_H
#define TORVEL_SEARCH_TREE_H

#include "torvel_export.h"

extern "C" {

typedef int (*torvel_compare_fn)(const void* key, const void* node_key);
typedef void (*torvel_visit_fn)(const void* node, int visit, int depth);

// twalk's visit kinds.
enum { torvel_preorder = 0, torvel_postorder = 1, torvel_endorder = 2, torvel_leaf = 3 };

TORVEL_EXPORT void* tsearch(const void* key, void** rootp, torvel_compare_fn compar);
TORVEL_EXPORT void* tfind(const void* key, void* const* rootp, torvel_compare_fn compar);
TORVEL_EXPORT void* tdelete(const void* key, void** rootp, torvel_compare_fn compar);
TORVEL_EXPORT void twalk(const void* root, torvel_visit_fn action);

}

#endif
