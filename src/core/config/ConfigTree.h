#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The configuration tree: ordered text nodes whose texts carry all meaning. It is kept as the
// depth-first pre-order walk itself (each node with its level), which is the order dispatch
// searches in and the order of the file, so a node's absolute index is its place in the list.
// A node's parent is the nearest earlier node one level up; its children are the following
// nodes one level deeper, up to the next node at its own level or above.
class ConfigTree {
 public:
  struct Node {
    std::string Text;
    std::int32_t Level = 0;

    bool operator==(const Node&) const = default;
  };

  // What changed, for views of the tree: the whole tree, one node's text, nodes inserted at
  // `Index`, or the subtree at `Index` (of `Count` nodes) removed.
  enum class ChangeKind : std::uint8_t { Reset, TextChanged, Inserted, Removed };
  struct Change {
    ChangeKind Kind = ChangeKind::Reset;
    std::int32_t Index = 0;
    std::int32_t Count = 0;
  };
  using Listener = std::function<void(const Change&)>;

  // Views subscribe here; the tree calls them after each change.
  void OnChange(Listener listener) { Listeners.push_back(std::move(listener)); }

  std::int32_t Count() const { return static_cast<std::int32_t>(Nodes.size()); }
  bool Empty() const { return Nodes.empty(); }
  const Node& At(std::int32_t index) const { return Nodes.at(static_cast<std::size_t>(index)); }
  const std::string& Text(std::int32_t index) const { return At(index).Text; }
  std::int32_t Level(std::int32_t index) const { return At(index).Level; }
  const std::vector<Node>& All() const { return Nodes; }

  // The parent of a node, -1 for a node at level 0.
  std::int32_t Parent(std::int32_t index) const;
  // The first and last child, -1 when the node has none.
  std::int32_t FirstChild(std::int32_t index) const;
  std::int32_t LastChild(std::int32_t index) const;
  bool HasChildren(std::int32_t index) const { return FirstChild(index) >= 0; }
  // One past the last node of the subtree at `index`.
  std::int32_t SubtreeEnd(std::int32_t index) const;

  void Clear();
  // Replaces every node; the nodes must form a tree (each level at most one deeper than the
  // one before, the first at level 0).
  void Assign(std::vector<Node> nodes);
  // Adds a node at level 0 after all others.
  std::int32_t AddTopLevel(std::string text);
  // Adds a node as the last child of `parent`; returns its index.
  std::int32_t AddChild(std::int32_t parent, std::string text);
  void SetText(std::int32_t index, std::string text);
  // Removes the node and its subtree.
  void Remove(std::int32_t index);

 private:
  void Notify(const Change& change) const;

  std::vector<Node> Nodes;
  std::vector<Listener> Listeners;
};

}  // namespace quillon
