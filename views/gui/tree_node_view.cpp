#include "views/gui/tree_node_view.h"

#include "views/gui/tree_accessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace pw {

namespace {

// Draws a row indented by its node's depth, with the open or closed sign of
// the style in front of a group, and the picture and label after it.
class TreeNodeDelegate final : public QStyledItemDelegate {
 public:
  explicit TreeNodeDelegate(TreeNodeView* view) : QStyledItemDelegate(view), view_(view) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int indent = view_->indentation();
    const int level = index.data(TreeNodeModel::LevelRole).toInt();
    const int branch = index.data(TreeNodeModel::BranchRole).toInt();
    const QRect sign(option.rect.left() + level * indent, option.rect.top(), indent, option.rect.height());
    if (branch != TreeNodeModel::Leaf) {
      QStyleOption signOption;
      signOption.initFrom(view_);
      signOption.rect = sign;
      signOption.state = QStyle::State_Children | QStyle::State_Enabled;
      if (branch == TreeNodeModel::Open) signOption.state |= QStyle::State_Open;
      view_->style()->drawPrimitive(QStyle::PE_IndicatorBranch, &signOption, painter, view_);
    }
    QStyleOptionViewItem rest(option);
    rest.rect.setLeft(sign.right() + 1);
    QStyledItemDelegate::paint(painter, rest, index);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += (index.data(TreeNodeModel::LevelRole).toInt() + 1) * view_->indentation();
    return size;
  }

 private:
  TreeNodeView* view_;
};

}  // namespace

TreeNodeView::TreeNodeView(int appMode, QWidget* parent)
    : QListView(parent), model_(new TreeNodeModel(appMode, this)) {
  InstallTreeAccessibility();
  setModel(model_);
  setItemDelegate(new TreeNodeDelegate(this));
  setUniformItemSizes(true);  // rows are never measured one by one, whatever their number
  setVerticalScrollMode(ScrollPerPixel);
}

int TreeNodeView::indentation() const {
  return std::max(style()->pixelMetric(QStyle::PM_TreeViewIndentation, nullptr, this), fontMetrics().height());
}

TreeNodeView::Kept TreeNodeView::keep() const {
  Kept kept;
  QModelIndex anchor = currentIndex();
  kept.selected = anchor.isValid() && selectionModel()->isSelected(anchor);
  kept.current = TreeNodeModel::nodeOf(anchor);
  // The row that stays in place: the current one when it is in sight, else the top one.
  if (!anchor.isValid() || !viewport()->rect().intersects(visualRect(anchor))) anchor = indexAt(QPoint(1, 1));
  kept.anchor = TreeNodeModel::nodeOf(anchor);
  kept.anchorTop = anchor.isValid() ? visualRect(anchor).top() : 0;
  return kept;
}

void TreeNodeView::restore(const Kept& kept) {
  executeDelayedItemsLayout();
  const TreeRows& rows = model_->rows();
  const QModelIndex anchor = model_->indexOf(rows.ShownNodeAtOrAbove(kept.anchor));
  if (anchor.isValid())
    verticalScrollBar()->setValue(verticalScrollBar()->value() + visualRect(anchor).top() - kept.anchorTop);
  const TreeNodeId current = rows.ShownNodeAtOrAbove(kept.current);
  if (current != PWH_NO_TREE_NODE)
    selectionModel()->setCurrentIndex(model_->indexOf(current), kept.selected ? QItemSelectionModel::ClearAndSelect
                                                                              : QItemSelectionModel::NoUpdate);
}

void TreeNodeView::makeCurrent(TreeNodeId id, bool select) {
  const QModelIndex index = model_->indexOf(id);
  if (!index.isValid()) return;
  selectionModel()->setCurrentIndex(index, select ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
  scrollTo(index);
}

TreeNodeId TreeNodeView::selectedNode() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? PWH_NO_TREE_NODE : TreeNodeModel::nodeOf(selected.first());
}

bool TreeNodeView::selectNode(TreeNodeId id) {
  if (id < 0 || std::size_t(id) >= model_->nodes().size()) return false;
  if (model_->rows().RowOf(id) < 0) changeOpen([id](TreeRows& rows) { rows.OpenParentsOf(id); });
  makeCurrent(id, true);
  return true;
}

QRect TreeNodeView::signRect(const QModelIndex& index) const {
  const TreeNodeId id = TreeNodeModel::nodeOf(index);
  if (id == PWH_NO_TREE_NODE || !model_->nodes().node(id).hasChildren) return QRect();
  const QRect row = visualRect(index);
  const int indent = indentation();
  return QRect(row.left() + model_->nodes().node(id).level * indent, row.top(), indent, row.height());
}

void TreeNodeView::keyPressEvent(QKeyEvent* event) {
  const TreeNodeId id = TreeNodeModel::nodeOf(currentIndex());
  if (id != PWH_NO_TREE_NODE && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    const TreeNode& node = model_->nodes().node(id);
    switch (event->key()) {
      case Qt::Key_Right:
        if (node.hasChildren && !isOpen(id)) {
          setOpen(id, true);
        } else if (node.hasChildren) {
          const auto children = model_->nodes().Children(id);
          if (!children.empty()) makeCurrent(children.front(), true);
        }
        return;
      case Qt::Key_Left:
        if (node.hasChildren && isOpen(id))
          setOpen(id, false);
        else if (node.parent != PWH_NO_TREE_NODE)
          makeCurrent(node.parent, true);
        return;
      case Qt::Key_Plus:
        setOpen(id, true);
        return;
      case Qt::Key_Minus:
        setOpen(id, false);
        return;
      case Qt::Key_Asterisk:
        changeOpen([id](TreeRows& rows) { rows.SetSubtreeOpen(id, true); });
        return;
      default:
        break;
    }
  }
  QListView::keyPressEvent(event);
}

void TreeNodeView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && signRect(index).contains(event->position().toPoint())) {
    flip(TreeNodeModel::nodeOf(index));
    return;
  }
  QListView::mousePressEvent(event);
}

void TreeNodeView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  const TreeNodeId id = TreeNodeModel::nodeOf(index);
  if (event->button() == Qt::LeftButton && id != PWH_NO_TREE_NODE && model_->nodes().node(id).hasChildren) {
    if (!signRect(index).contains(event->position().toPoint())) flip(id);  // the press flipped it already
    return;
  }
  QListView::mouseDoubleClickEvent(event);
}

}  // namespace pw
