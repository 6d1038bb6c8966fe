#include "gui/ConfigTreeModel.h"

#include "gui/QtText.h"

namespace quillon::gui {

ConfigTreeModel::ConfigTreeModel(ConfigTree& tree, QObject* parent)
    : QAbstractItemModel(parent), Tree(tree) {
  Rebuild();
  // The tree keeps its listeners for good; one that outlives the model does nothing.
  tree.OnChange([this, alive = std::weak_ptr<bool>(Alive)](const ConfigTree::Change& change) {
    if (!alive.expired()) Changed(change);
  });
}

void ConfigTreeModel::Rebuild() {
  Mirror.clear();
  for (const ConfigTree::Node& node : Tree.All()) {
    Mirror.push_back({node.Level, NextId++, ToQString(node.Text)});
  }
  Reindex();
}

void ConfigTreeModel::Reindex() {
  Positions.clear();
  for (std::size_t i = 0; i < Mirror.size(); ++i) {
    Positions[Mirror[i].Id] = static_cast<std::int32_t>(i);
  }
}

std::int32_t ConfigTreeModel::MirrorParent(std::int32_t node, std::int32_t level) const {
  for (std::int32_t i = node - 1; i >= 0; --i) {
    if (Mirror[static_cast<std::size_t>(i)].Level < level) return i;
  }
  return -1;
}

int ConfigTreeModel::RowOf(std::int32_t node, std::int32_t parent, std::int32_t level) const {
  int row = 0;
  for (std::int32_t i = parent + 1; i < node; ++i) {
    if (Mirror[static_cast<std::size_t>(i)].Level == level) ++row;
  }
  return row;
}

std::int32_t ConfigTreeModel::ChildAt(std::int32_t parent, int row) const {
  const std::int32_t parentLevel = parent < 0 ? -1 : Mirror[static_cast<std::size_t>(parent)].Level;
  int seen = 0;
  for (auto i = static_cast<std::size_t>(parent + 1);
       i < Mirror.size() && Mirror[i].Level > parentLevel; ++i) {
    if (Mirror[i].Level == parentLevel + 1 && seen++ == row) return static_cast<std::int32_t>(i);
  }
  return -1;
}

void ConfigTreeModel::Changed(const ConfigTree::Change& change) {
  switch (change.Kind) {
    case ConfigTree::ChangeKind::Reset:
      beginResetModel();
      Rebuild();
      endResetModel();
      return;
    case ConfigTree::ChangeKind::TextChanged: {
      Mirror[static_cast<std::size_t>(change.Index)].Text = ToQString(Tree.Text(change.Index));
      const QModelIndex changed = IndexOf(change.Index);
      emit dataChanged(changed, changed);
      return;
    }
    case ConfigTree::ChangeKind::Inserted: {
      const std::int32_t level = Tree.Level(change.Index);
      const std::int32_t parent = MirrorParent(change.Index, level);
      const int row = RowOf(change.Index, parent, level);
      std::vector<Entry> added;
      int rows = 0;
      for (std::int32_t i = change.Index; i < change.Index + change.Count; ++i) {
        added.push_back({Tree.Level(i), NextId++, ToQString(Tree.Text(i))});
        if (Tree.Level(i) == level) ++rows;
      }
      beginInsertRows(IndexOf(parent), row, row + rows - 1);
      Mirror.insert(Mirror.begin() + change.Index, added.begin(), added.end());
      Reindex();
      endInsertRows();
      return;
    }
    case ConfigTree::ChangeKind::Removed: {
      const auto first = Mirror.begin() + change.Index;
      const std::int32_t level = first->Level;
      const std::int32_t parent = MirrorParent(change.Index, level);
      const int row = RowOf(change.Index, parent, level);
      int rows = 0;
      for (auto i = first; i != first + change.Count; ++i) {
        if (i->Level == level) ++rows;
      }
      beginRemoveRows(IndexOf(parent), row, row + rows - 1);
      Mirror.erase(first, first + change.Count);
      Reindex();
      endRemoveRows();
      return;
    }
  }
}

std::int32_t ConfigTreeModel::NodeAt(const QModelIndex& index) const {
  if (!index.isValid()) return -1;
  const auto found = Positions.find(index.internalId());
  return found == Positions.end() ? -1 : found->second;
}

QModelIndex ConfigTreeModel::IndexOf(std::int32_t node) const {
  if (node < 0 || node >= static_cast<std::int32_t>(Mirror.size())) return {};
  const Entry& entry = Mirror[static_cast<std::size_t>(node)];
  return createIndex(RowOf(node, MirrorParent(node, entry.Level), entry.Level), 0, entry.Id);
}

QModelIndex ConfigTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  const std::int32_t node = ChildAt(parent.isValid() ? NodeAt(parent) : -1, row);
  return node < 0 ? QModelIndex() : createIndex(row, 0, Mirror[static_cast<std::size_t>(node)].Id);
}

QModelIndex ConfigTreeModel::parent(const QModelIndex& child) const {
  const std::int32_t node = NodeAt(child);
  if (node < 0) return {};
  return IndexOf(MirrorParent(node, Mirror[static_cast<std::size_t>(node)].Level));
}

int ConfigTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const std::int32_t node = parent.isValid() ? NodeAt(parent) : -1;
  const std::int32_t level = node < 0 ? -1 : Mirror[static_cast<std::size_t>(node)].Level;
  int rows = 0;
  for (auto i = static_cast<std::size_t>(node + 1); i < Mirror.size() && Mirror[i].Level > level;
       ++i) {
    if (Mirror[i].Level == level + 1) ++rows;
  }
  return rows;
}

int ConfigTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant ConfigTreeModel::data(const QModelIndex& index, int role) const {
  const std::int32_t node = NodeAt(index);
  if (node < 0 || role != Qt::DisplayRole) return {};
  return Mirror[static_cast<std::size_t>(node)].Text;
}

}  // namespace quillon::gui
