// The item model of the Tree view over the tree's own nodes: an index is a
// node, its children are the node's children in the order they appeared, and
// labels are made into QStrings only when the view asks for them.
#pragma once

#include <QAbstractItemModel>

#include "views/tree_nodes.h"

namespace pw {

class TreeNodeModel final : public QAbstractItemModel {
 public:
  // appMode: the record kind the nodes were built from.
  explicit TreeNodeModel(int appMode, QObject* parent = nullptr);

  int appMode() const { return appMode_; }
  const TreeNodeList& nodes() const { return nodes_; }
  // Takes over a finished node list.
  void setNodes(TreeNodeList&& nodes);

  // The index of a node; invalid for PWH_NO_TREE_NODE or an unknown node.
  QModelIndex indexOf(TreeNodeId id) const;
  // The node of an index; PWH_NO_TREE_NODE for an invalid one.
  static TreeNodeId nodeOf(const QModelIndex& index);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  int appMode_;
  TreeNodeList nodes_;
};

}  // namespace pw
