// The tree control of the Tree view: a list of the shown nodes
// (TreeNodeModel) that draws each row indented by its depth, with an open or
// closed sign in front of a group, and opens and closes groups the way a
// tree does:
//   Right opens a closed group, or goes to the first child of an open one;
//   Left closes an open group, or goes to the parent;
//   "+" opens, "-" closes, "*" opens the group and every group below it;
//   a click on the sign, or a double click on a group, flips the group.
// Enter or a double click on a leaf reports the row as activated.
#pragma once

#include <QListView>

#include "views/gui/tree_model.h"

namespace pw {

class TreeNodeView final : public QListView {
  Q_OBJECT

 public:
  // appMode: the record kind of the nodes the view will show.
  TreeNodeView(int appMode, QWidget* parent);

  // The model the view was given at construction time.
  TreeNodeModel* nodeModel() const { return model_; }
  // Indent of one level, and the width of the sign in front of a group.
  int indentation() const;

  bool isOpen(TreeNodeId id) const { return model_->rows().IsOpen(id); }
  // Changes which groups are open (see TreeNodeModel::changeOpen). The
  // current node stays current and at its place on the screen; when it is
  // hidden now, the group that closed over it becomes current instead.
  template <class Change>
  void changeOpen(Change&& change) {
    const Kept kept = keep();
    model_->changeOpen(std::forward<Change>(change));
    restore(kept);
  }
  void setOpen(TreeNodeId id, bool open) {
    changeOpen([&](TreeRows& rows) { rows.SetOpen(id, open); });
  }

  // The selected node, PWH_NO_TREE_NODE when none is.
  TreeNodeId selectedNode() const;
  // Makes a node current and selected, its groups opened and itself
  // scrolled into view; false for a node the tree does not have.
  bool selectNode(TreeNodeId id);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // What stays when the rows change: the current node, and the row that
  // keeps its place on the screen (the current one when in sight, else the
  // top one) with its distance from the top.
  struct Kept {
    TreeNodeId current = PWH_NO_TREE_NODE;
    bool selected = false;
    TreeNodeId anchor = PWH_NO_TREE_NODE;
    int anchorTop = 0;
  };
  Kept keep() const;
  void restore(const Kept& kept);
  void makeCurrent(TreeNodeId id, bool select);
  void flip(TreeNodeId id) { setOpen(id, !isOpen(id)); }
  // The sign's rectangle in a row, empty for a leaf.
  QRect signRect(const QModelIndex& index) const;

  TreeNodeModel* model_;
};

}  // namespace pw
