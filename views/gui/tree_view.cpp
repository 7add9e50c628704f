#include "views/gui/tree_view.h"

#include <string>
#include <vector>

#include "config/configuration.h"
#include "platform/host_port.h"
#include "shell/globals.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_model.h"
#include "views/gui/tree_node_view.h"

namespace pw {

namespace {

TreeNodeModel* ModelOf(const TreeNodeView* tree) { return tree ? tree->nodeModel() : nullptr; }

// Where the current item of a tree was, to find it again in a new tree of
// the same mode: a record leaf by its record, a group by its texts from the
// top.
struct TreePlace {
  bool valid = false;
  bool leaf = false;
  RecordPosition position = 0;
  std::vector<std::u16string> path;
};

TreePlace PlaceOf(const TreeNodeView* tree) {
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

void SetUpTree(TreeNodeView* tree) {
  tree->setObjectName(QStringLiteral("PWH Main Tree View"));
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

bool CreateMainTreeView(TreeNodeView** slot) {
  if (!slot) return false;
  *slot = nullptr;
  if (!ViewArea) return false;
  auto* tree = new TreeNodeView(AppMode, ViewArea);
  SetUpTree(tree);
  QObject::connect(tree, &QObject::destroyed, [tree](QObject*) {
    if (TreeViewWindow == tree) TreeViewWindow = nullptr;
  });
  *slot = tree;
  tree->setGeometry(GetViewRectangle());
  tree->show();
  return true;
}

bool LoadMainTreeViewListBox(HWND owner, TreeNodeView* tree, DatabaseHandle& db, TreeItemList* table, int* itemCount) {
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

bool LoadTreeView(HWND owner, TreeNodeView* tree, DatabaseHandle& db, TreeItemList* table, int* itemCount) {
  SetStatusText(PWH_STATUS_ACTIVITY, u"loading tree view...");
  const bool loaded = LoadMainTreeViewListBox(owner, tree, db, table, itemCount);
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  return loaded;
}

bool RecreateTreeView(HWND owner, TreeNodeView** slot, DatabaseHandle& db, TreeItemList* table, int* itemCount) {
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

TreeItem SelectedTreeItem(const TreeNodeView* tree) {
  return tree ? tree->selectedNode() : PWH_NO_TREE_ITEM;
}

bool SelectTreeItem(TreeNodeView* tree, TreeItem item) { return tree && tree->selectNode(item); }

void ExpandCollapseTree(HWND window) {
  TreeNodeView* tree = TreeViewWindow;
  if (!tree) return;
  const TreeItem selected = SelectedTreeItem(tree);
  if (selected == PWH_NO_TREE_ITEM) {
    MessageBoxW(window, u"There are no tree nodes selected.", u"PWH Tree View", MB_OK | MB_ICONINFORMATION);
    return;
  }
  ToggleSubtrees(tree, std::span<const TreeItem>(&selected, 1));
}

void ToggleSubtrees(TreeNodeView* tree, std::span<const TreeItem> roots) {
  if (tree) tree->changeOpen([roots](TreeRows& rows) { rows.FlipSubtrees(roots); });
}

}  // namespace pw
