#pragma once

#include <QAbstractItemModel>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/config/ConfigTree.h"

namespace quillon::gui {

// The configuration tree as a Qt item model, read-only. The tree is a pre-order list whose
// indexes shift when nodes come and go, so each node gets an id of its own for the life of the
// model. The tree reports a change after making it, while views must hear of it before, so the
// model answers from a mirror of the nodes (level, id, text): a change is announced against the
// mirror, then applied to it.
class ConfigTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit ConfigTreeModel(ConfigTree& tree, QObject* parent = nullptr);

  // The node of an index, -1 for none; the index of a node.
  std::int32_t NodeAt(const QModelIndex& index) const;
  QModelIndex IndexOf(std::int32_t node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  struct Entry {
    std::int32_t Level = 0;
    quintptr Id = 0;
    QString Text;
  };

  void Changed(const ConfigTree::Change& change);
  void Rebuild();
  void Reindex();
  // In the mirror: the node's parent (-1 at level 0), its row among its siblings, and the
  // position of the row-th child of `parent` (-1 for the top level).
  std::int32_t MirrorParent(std::int32_t node, std::int32_t level) const;
  int RowOf(std::int32_t node, std::int32_t parent, std::int32_t level) const;
  std::int32_t ChildAt(std::int32_t parent, int row) const;

  const ConfigTree& Tree;
  std::vector<Entry> Mirror;
  std::unordered_map<quintptr, std::int32_t> Positions;
  std::shared_ptr<bool> Alive = std::make_shared<bool>(true);  // the tree outlives the model
  quintptr NextId = 1;
};

}  // namespace quillon::gui
