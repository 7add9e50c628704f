#include "views/gui/tree_accessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QScrollBar>

#include <utility>

#include "views/gui/tree_node_view.h"

namespace pw {
namespace {

// One node of the tree, found again by its id whatever its row now.
class TreeRowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TreeRowAccessible(TreeNodeView* view, TreeNodeId id) : view_(view), id_(id) {}

  bool isValid() const override { return view_ && id_ >= 0 && std::size_t(id_) < nodes().size(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    if (t == QAccessible::Name) return index().data(Qt::DisplayRole).toString();
    if (t == QAccessible::Description) return QStringLiteral("level %1").arg(level());
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect row = view_->visualRect(index());
    return QRect(view_->viewport()->mapToGlobal(row.topLeft()), row.size());
  }
  QAccessible::Role role() const override { return QAccessible::TreeItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) return s.invalid = true, s;
    const QModelIndex i = index();
    s.selectable = s.focusable = true;
    s.selected = i.isValid() && view_->selectionModel()->isSelected(i);
    s.focused = i.isValid() && view_->currentIndex() == i && view_->hasFocus();
    s.invisible = !i.isValid();
    s.offscreen = !i.isValid() || !view_->viewport()->rect().intersects(view_->visualRect(i));
    if (nodes().node(id_).hasChildren) {
      s.expandable = true;
      s.expanded = view_->isOpen(id_);
      s.collapsed = !s.expanded;
    }
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  // Groups open and close by the toggle action; every row can be made current.
  QStringList actionNames() const override {
    QStringList names{setFocusAction()};
    if (isValid() && nodes().node(id_).hasChildren) names << toggleAction();
    return names;
  }
  void doAction(const QString& name) override {
    if (!isValid()) return;
    if (name == toggleAction() && nodes().node(id_).hasChildren) view_->setOpen(id_, !view_->isOpen(id_));
    if (name == setFocusAction()) view_->selectNode(id_);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  // 1 at the top.
  int level() const { return nodes().node(id_).level + 1; }

 private:
  const TreeNodeList& nodes() const { return view_->nodeModel()->nodes(); }
  QModelIndex index() const { return view_->nodeModel()->indexOf(id_); }

  QPointer<TreeNodeView> view_;
  TreeNodeId id_;
};

class TreeViewAccessible final : public QAccessibleWidget {
 public:
  explicit TreeViewAccessible(TreeNodeView* view) : QAccessibleWidget(view, QAccessible::Tree) {}
  ~TreeViewAccessible() override {
    for (QAccessible::Id id : std::as_const(rows_)) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return view()->nodeModel()->rowCount(); }
  QAccessibleInterface* child(int row) const override {
    const TreeNodeId id = TreeNodeModel::nodeOf(view()->nodeModel()->index(row, 0));
    if (id == PWH_NO_TREE_NODE) return nullptr;
    auto it = rows_.constFind(id);
    if (it == rows_.constEnd())
      it = rows_.insert(id, QAccessible::registerAccessibleInterface(new TreeRowAccessible(view(), id)));
    return QAccessible::accessibleInterface(*it);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (auto it = rows_.constBegin(); it != rows_.constEnd(); ++it)
      if (QAccessible::accessibleInterface(*it) == child) return view()->nodeModel()->rows().RowOf(it.key());
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QModelIndex i = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
    return i.isValid() ? child(i.row()) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const QModelIndex current = view()->currentIndex();
    return current.isValid() ? child(current.row()) : nullptr;
  }

 private:
  TreeNodeView* view() const { return static_cast<TreeNodeView*>(widget()); }
  mutable QHash<TreeNodeId, QAccessible::Id> rows_;
};

}  // namespace

QAccessibleInterface* TreeAccessibleFactory(const QString& className, QObject* object) {
  auto* view = qobject_cast<TreeNodeView*>(object);
  if (!view || className != QLatin1String(TreeNodeView::staticMetaObject.className())) return nullptr;
  return new TreeViewAccessible(view);
}

void InstallTreeAccessibility() {
  static const bool installed = (QAccessible::installFactory(TreeAccessibleFactory), true);
  (void)installed;
}

}  // namespace pw
