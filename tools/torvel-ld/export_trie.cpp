#include "export_trie.h"

#include <algorithm>
#include <memory>

#include "byte_io.h"
#include "diagnostics.h"

namespace torvel::ld {

namespace {

struct Node;

struct Edge {
  std::string label;
  std::unique_ptr<Node> child;
};

struct Node {
  std::vector<Edge> edges;
  bool terminal = false;
  uint64_t flags = 0;
  uint64_t address = 0;
  uint32_t offset = 0;

  uint32_t terminalSize() const { return terminal ? uint32_t(ulebSize(flags) + ulebSize(address)) : 0; }
};

void insert(Node* node, std::string_view rest, const ExportEntry& entry) {
  while (!rest.empty()) {
    Edge* match = nullptr;
    size_t common = 0;
    for (Edge& e : node->edges) {
      size_t n = 0;
      while (n < e.label.size() && n < rest.size() && e.label[n] == rest[n]) ++n;
      if (n > 0) {
        match = &e;
        common = n;
        break;
      }
    }
    if (!match) {
      auto leaf = std::make_unique<Node>();
      Node* raw = leaf.get();
      node->edges.push_back({std::string(rest), std::move(leaf)});
      node = raw;
      rest = {};
      break;
    }
    if (common < match->label.size()) {
      // Split the edge: the shared prefix leads to a new inner node.
      auto middle = std::make_unique<Node>();
      middle->edges.push_back({match->label.substr(common), std::move(match->child)});
      match->label.resize(common);
      match->child = std::move(middle);
    }
    node = match->child.get();
    rest.remove_prefix(common);
  }
  if (node->terminal) fail("internal error: " + entry.name + " exported twice");
  node->terminal = true;
  node->flags = entry.flags;
  node->address = entry.address;
}

void collect(Node* node, std::vector<Node*>& order) {
  order.push_back(node);
  for (Edge& e : node->edges) collect(e.child.get(), order);
}

uint32_t nodeSize(const Node* node) {
  uint32_t size = 0;
  uint32_t t = node->terminalSize();
  size += uint32_t(ulebSize(t)) + t;
  size += 1;  // child count
  for (const Edge& e : node->edges) size += uint32_t(e.label.size() + 1 + ulebSize(e.child->offset));
  return size;
}

}  // namespace

std::vector<uint8_t> buildExportTrie(std::vector<ExportEntry> entries) {
  if (entries.empty()) return {};
  std::sort(entries.begin(), entries.end(), [](const ExportEntry& a, const ExportEntry& b) { return a.name < b.name; });
  Node root;
  for (const ExportEntry& e : entries) {
    if (e.name.empty()) fail("cannot export a symbol without a name");
    insert(&root, e.name, e);
  }
  std::vector<Node*> order;
  collect(&root, order);
  for (bool changed = true; changed;) {
    changed = false;
    uint32_t offset = 0;
    for (Node* n : order) {
      if (n->offset != offset) {
        n->offset = offset;
        changed = true;
      }
      offset += nodeSize(n);
    }
  }
  ByteWriter out;
  for (Node* n : order) {
    if (n->edges.size() > 255) fail("internal error: export trie node with more than 255 children");
    out.uleb(n->terminalSize());
    if (n->terminal) {
      out.uleb(n->flags);
      out.uleb(n->address);
    }
    out.u8(uint8_t(n->edges.size()));
    for (const Edge& e : n->edges) {
      out.cstr(e.label);
      out.uleb(e.child->offset);
    }
  }
  out.padTo(4);
  return std::move(out.bytes());
}

}  // namespace torvel::ld
