#include "views/gui/tree_view.h"

#include <QItemSelectionModel>
#include <QTreeView>

#include <string>
#include <vector>

#include "config/configuration.h"
#include "platform/host_port.h"
#include "shell/globals.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_model.h"

namespace pw {

namespace {

// The tree control. It keeps which nodes are open beside the view's own
// record of it, so that many nodes can be flipped without asking the view
// about each; and expanding or collapsing many nodes at once records their
// new states first and lays the tree out once at the end (one node at a time
// would lay out the whole tree for every node).
class PwTreeView final : public QTreeView {
 public:
  explicit PwTreeView(QWidget* parent) : QTreeView(parent) {
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) { SetOpen(index, true); });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { SetOpen(index, false); });
  }

  template <class Change>
  void ChangeMany(Change&& change) {
    scheduleDelayedItemsLayout();
    change();
    executeDelayedItemsLayout();
  }

  bool IsOpen(TreeNodeId id) const { return id >= 0 && std::size_t(id) < open_.size() && open_[std::size_t(id)]; }
  void SetOpen(TreeNodeId id, bool open) {
    if (id < 0) return;
    if (std::size_t(id) >= open_.size()) open_.resize(std::size_t(id) + 1, 0);
    open_[std::size_t(id)] = open;
  }
  void SetOpen(const QModelIndex& index, bool open) { SetOpen(TreeNodeId(index.internalId()), open); }
  void ForgetOpen() { open_.clear(); }

 private:
  std::vector<char> open_;
};

TreeNodeModel* ModelOf(const QTreeView* tree) {
  return tree ? dynamic_cast<TreeNodeModel*>(tree->model()) : nullptr;
}

// Where the current item of a tree was, to find it again in a new tree of
// the same mode: a record leaf by its record, a group by its texts from the
// top.
struct TreePlace {
  bool valid = false;
  bool leaf = false;
  RecordPosition position = 0;
  std::vector<std::u16string> path;
};

TreePlace PlaceOf(const QTreeView* tree) {
  TreePlace place;
  const TreeNodeModel* model = ModelOf(tree);
  const TreeItem item = SelectedTreeItem(tree);
  if (!model || model->appMode() != AppMode || item == PWH_NO_TREE_ITEM) return place;
  const TreeNodeList& nodes = model->nodes();
  place.valid = true;
  place.leaf = !nodes.node(item).hasChildren;
  place.position = nodes.node(item).recordPosition;
  for (TreeNodeId id = item; id != PWH_NO_TREE_NODE; id = nodes.node(id).parent)
    place.path.insert(place.path.begin(), std::u16string(nodes.text(id)));
  return place;
}

TreeItem FindPlace(const TreeNodeModel* model, const TreeItemList& table, const TreePlace& place) {
  if (!model || !place.valid) return PWH_NO_TREE_ITEM;
  if (place.leaf) return table.ItemOf(place.position);
  TreeNodeId id = PWH_NO_TREE_NODE;
  for (std::size_t level = 0; level < place.path.size(); ++level) {
    id = model->nodes().FindTreeNode(place.path[level], id, int(level));
    if (id == PWH_NO_TREE_NODE) break;
  }
  return id;
}

void SetUpTree(QTreeView* tree) {
  tree->setObjectName(QStringLiteral("PWH Main Tree View"));
  tree->setHeaderHidden(true);
  tree->setUniformRowHeights(true);  // rows are never measured, whatever their number
  tree->setRootIsDecorated(true);
  tree->setAnimated(false);
  tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  tree->setIconSize(QSize(16, 16));
  tree->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The selection stays visible while the tree does not have the focus.
  QPalette palette = tree->palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  tree->setPalette(palette);
}

}  // namespace

bool CreateMainTreeView(QTreeView** slot) {
  if (!slot) return false;
  *slot = nullptr;
  if (!ViewArea) return false;
  auto* tree = new PwTreeView(ViewArea);
  SetUpTree(tree);
  tree->setModel(new TreeNodeModel(AppMode, tree));
  QObject::connect(tree, &QObject::destroyed, [tree](QObject*) {
    if (TreeViewWindow == tree) TreeViewWindow = nullptr;
  });
  *slot = tree;
  tree->setGeometry(GetViewRectangle());
  tree->show();
  return true;
}

bool LoadMainTreeViewListBox(HWND owner, QTreeView* tree, DatabaseHandle& db, TreeItemList* table, int* itemCount) {
  TreeNodeModel* model = ModelOf(tree);
  if (!model || !table || !itemCount) return false;
  TreeNodeList nodes;
  if (!LoadTreeNodes(owner, db, model->appMode(), TreeTextFormat{EuropeanDates()}, &nodes)) return false;
  model->setNodes(std::move(nodes));
  ShowRecordCount(0);
  table->FillFromLeaves(model->nodes());
  *itemCount = int(table->count());
  ShowRecordCount(*itemCount);
  return true;
}

bool LoadTreeView(HWND owner, QTreeView* tree, DatabaseHandle& db, TreeItemList* table, int* itemCount) {
  SetStatusText(PWH_STATUS_ACTIVITY, u"loading tree view...");
  const bool loaded = LoadMainTreeViewListBox(owner, tree, db, table, itemCount);
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  return loaded;
}

bool RecreateTreeView(HWND owner, QTreeView** slot, DatabaseHandle& db, TreeItemList* table, int* itemCount) {
  if (!slot || !table || !itemCount) return false;
  const TreePlace keep = PlaceOf(*slot);
  DestroyCurrentView();
  table->Clear();
  *itemCount = 0;
  if (!CreateMainTreeView(slot)) return false;
  const bool loaded = LoadTreeView(owner, *slot, db, table, itemCount);
  SelectTreeItem(*slot, FindPlace(ModelOf(*slot), *table, keep));
  (*slot)->setFocus();
  return loaded;
}

bool RecreateCurrentTreeView() {
  return RecreateTreeView(MainWindow, &TreeViewWindow, CurrentDatabase(), &TreeItemTable, &TreeItemCount);
}

TreeItem SelectedTreeItem(const QTreeView* tree) {
  if (!tree || !tree->selectionModel()) return PWH_NO_TREE_ITEM;
  const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? PWH_NO_TREE_ITEM : TreeNodeModel::nodeOf(selected.first());
}

bool SelectTreeItem(QTreeView* tree, TreeItem item) {
  const TreeNodeModel* model = ModelOf(tree);
  const QModelIndex index = model ? model->indexOf(item) : QModelIndex();
  if (!index.isValid()) return false;
  auto expandParents = [&] {
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tree->expand(up);
  };
  if (auto* own = dynamic_cast<PwTreeView*>(tree)) own->ChangeMany(expandParents);
  else expandParents();
  tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  tree->scrollTo(index);
  return true;
}

void ExpandCollapseTree(HWND window) {
  QTreeView* tree = TreeViewWindow;
  if (!tree) return;
  const TreeItem selected = SelectedTreeItem(tree);
  if (selected == PWH_NO_TREE_ITEM) {
    MessageBoxW(window, u"There are no tree nodes selected.", u"PWH Tree View", MB_OK | MB_ICONINFORMATION);
    return;
  }
  ToggleSubtrees(tree, std::span<const TreeItem>(&selected, 1));
}

void ToggleSubtrees(QTreeView* tree, std::span<const TreeItem> roots) {
  auto* own = dynamic_cast<PwTreeView*>(tree);
  const TreeNodeModel* model = ModelOf(tree);
  if (!own || !model) return;
  const TreeNodeList& nodes = model->nodes();

  // The group nodes below the roots, the roots included; leaves have nothing to flip.
  std::vector<TreeNodeId> groups;
  std::vector<TreeNodeId> stack(roots.rbegin(), roots.rend());
  std::size_t tops = 0, open = 0;
  while (!stack.empty()) {
    const TreeNodeId id = stack.back();
    stack.pop_back();
    if (id < 0 || id >= TreeNodeId(nodes.size()) || !nodes.node(id).hasChildren) continue;
    groups.push_back(id);
    tops += nodes.node(id).parent == PWH_NO_TREE_NODE;
    open += own->IsOpen(id);
    for (TreeNodeId child : nodes.Children(id))
      if (nodes.node(child).hasChildren) stack.push_back(child);
  }

  // Every node flips on its own: an expanded child of a collapsed node
  // becomes collapsed, and so on. When all of the tree's nodes are flipped
  // and all are alike, the view opens or closes everything in one go.
  const bool wholeTree = tops == nodes.Children(PWH_NO_TREE_NODE).size();
  if (wholeTree && open == 0) {
    tree->expandAll();
    for (TreeNodeId id : groups) own->SetOpen(id, true);
    return;
  }
  if (wholeTree && open == groups.size()) {
    tree->collapseAll();
    own->ForgetOpen();
    return;
  }
  own->ChangeMany([&] {
    for (TreeNodeId id : groups) {
      const bool opening = !own->IsOpen(id);
      tree->setExpanded(model->indexOf(id), opening);
      own->SetOpen(id, opening);
    }
  });
}

}  // namespace pw
