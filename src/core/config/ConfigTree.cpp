#include "core/config/ConfigTree.h"

#include <stdexcept>

namespace quillon {

std::int32_t ConfigTree::Parent(std::int32_t index) const {
  const std::int32_t level = Level(index);
  for (std::int32_t i = index - 1; i >= 0; --i) {
    if (Level(i) < level) return i;
  }
  return -1;
}

std::int32_t ConfigTree::FirstChild(std::int32_t index) const {
  return index + 1 < Count() && Level(index + 1) == Level(index) + 1 ? index + 1 : -1;
}

std::int32_t ConfigTree::LastChild(std::int32_t index) const {
  std::int32_t last = -1;
  const std::int32_t end = SubtreeEnd(index);
  for (std::int32_t i = index + 1; i < end; ++i) {
    if (Level(i) == Level(index) + 1) last = i;
  }
  return last;
}

std::int32_t ConfigTree::SubtreeEnd(std::int32_t index) const {
  const std::int32_t level = Level(index);
  std::int32_t end = index + 1;
  while (end < Count() && Level(end) > level) ++end;
  return end;
}

void ConfigTree::Clear() {
  Nodes.clear();
  Notify({ChangeKind::Reset, 0, 0});
}

void ConfigTree::Assign(std::vector<Node> nodes) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const std::int32_t limit = i == 0 ? 0 : nodes[i - 1].Level + 1;
    if (nodes[i].Level < 0 || nodes[i].Level > limit) {
      throw std::invalid_argument("configuration nodes do not form a tree");
    }
  }
  Nodes = std::move(nodes);
  Notify({ChangeKind::Reset, 0, 0});
}

std::int32_t ConfigTree::AddTopLevel(std::string text) {
  Nodes.push_back({std::move(text), 0});
  Notify({ChangeKind::Inserted, Count() - 1, 1});
  return Count() - 1;
}

std::int32_t ConfigTree::AddChild(std::int32_t parent, std::string text) {
  const std::int32_t at = SubtreeEnd(parent);
  Nodes.insert(Nodes.begin() + at, Node{std::move(text), Level(parent) + 1});
  Notify({ChangeKind::Inserted, at, 1});
  return at;
}

void ConfigTree::SetText(std::int32_t index, std::string text) {
  Nodes.at(static_cast<std::size_t>(index)).Text = std::move(text);
  Notify({ChangeKind::TextChanged, index, 1});
}

void ConfigTree::Remove(std::int32_t index) {
  const std::int32_t end = SubtreeEnd(index);
  Nodes.erase(Nodes.begin() + index, Nodes.begin() + end);
  Notify({ChangeKind::Removed, index, end - index});
}

void ConfigTree::Notify(const Change& change) const {
  for (const Listener& listener : Listeners) listener(change);
}

}  // namespace quillon
