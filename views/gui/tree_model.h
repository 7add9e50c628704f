// The item model of the Tree view over the tree's own nodes: one row per
// shown node (the top nodes, and the children of every open group, depth
// first), so that opening or closing groups only lays the rows out again.
// Labels are made into QStrings only when the view asks for them.
#pragma once

#include <QAbstractListModel>

#include "views/tree_nodes.h"
#include "views/tree_rows.h"

namespace pw {

class TreeNodeModel final : public QAbstractListModel {
 public:
  // What the view draws in front of a node's picture.
  enum Role {
    LevelRole = Qt::UserRole,  // int: the node's depth, 0 at the top
    BranchRole,                // int: a Branch
  };
  enum Branch { Leaf = 0, Closed = 1, Open = 2 };

  // appMode: the record kind the nodes were built from.
  explicit TreeNodeModel(int appMode, QObject* parent = nullptr);

  int appMode() const { return appMode_; }
  const TreeNodeList& nodes() const { return nodes_; }
  // For making deferred days (TreeNodeList::Build, LeafOf): that changes no
  // row shown, so the views need not be told.
  TreeNodeList& nodes() { return nodes_; }
  const TreeRows& rows() const { return rows_; }
  // Takes over a finished node list; every group starts closed.
  void setNodes(TreeNodeList&& nodes);

  // Changes which groups are open (change(TreeRows&) calls SetOpen,
  // FlipSubtrees, ...), then shows the new rows. Views are reset. The rows
  // shown stay as they were until Update, so the change (which may read
  // records and tell of a failure) runs before the reset begins.
  template <class Change>
  void changeOpen(Change&& change) {
    change(rows_);
    beginResetModel();
    rows_.Update();
    endResetModel();
  }

  // The index of a shown node; invalid for a hidden or unknown node.
  QModelIndex indexOf(TreeNodeId id) const;
  // The node of an index; PWH_NO_TREE_NODE for an invalid one.
  static TreeNodeId nodeOf(const QModelIndex& index);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  int appMode_;
  TreeNodeList nodes_;
  TreeRows rows_;
};

}  // namespace pw
