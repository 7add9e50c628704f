#include "views/gui/tree_view.h"

#include <string>
#include <vector>

#include "platform/gui/hwnd.h"
#include "platform/host_port.h"
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

TreePlace PlaceOf(const TreeNodeView* tree, int appMode) {
  TreePlace place;
  const TreeNodeModel* model = ModelOf(tree);
  const TreeItem item = SelectedTreeItem(tree);
  if (!model || model->appMode() != appMode || item == PWH_NO_TREE_ITEM) return place;
  const TreeNodeList& nodes = model->nodes();
  place.valid = true;
  place.leaf = !nodes.node(item).hasChildren;
  place.position = nodes.node(item).recordPosition;
  for (TreeNodeId id = item; id != PWH_NO_TREE_NODE; id = nodes.node(id).parent)
    place.path.insert(place.path.begin(), std::u16string(nodes.text(id)));
  return place;
}

TreeItem FindPlace(TreeNodeModel* model, const TreeItemList& table, const TreePlace& place) {
  if (!model || !place.valid) return PWH_NO_TREE_ITEM;
  if (place.leaf) return table.ItemOf(place.position);
  TreeNodeId id = PWH_NO_TREE_NODE;
  for (std::size_t level = 0; level < place.path.size(); ++level) {
    if (id != PWH_NO_TREE_NODE) model->nodes().Build(std::span<const TreeNodeId>(&id, 1));
    id = model->nodes().FindTreeNode(place.path[level], id, int(level));
    if (id == PWH_NO_TREE_NODE) break;
  }
  return id;
}

void SetUpTree(TreeNodeView* tree) {
  tree->setObjectName(QStringLiteral("TreeView"));
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

bool CreateMainTreeView(ViewSlots& viewSlots, int appMode) {
  viewSlots.TreeViewWindow = nullptr;
  if (!viewSlots.ViewArea) return false;
  auto* tree = new TreeNodeView(appMode, FromHwnd(viewSlots.ViewArea));
  SetUpTree(tree);
  // The tree receives the signal itself, so that disposing of it (which
  // empties the slot first) can take it back.
  QObject::connect(tree, &QObject::destroyed, tree, [&viewSlots, tree](QObject*) {
    if (viewSlots.TreeViewWindow != tree) return;
    viewSlots.TreeViewWindow = nullptr;
    viewSlots.TreeItemTable.Clear();  // it read the tree's nodes
  });
  viewSlots.TreeViewWindow = tree;
  tree->setGeometry(GetViewRectangle(viewSlots));
  tree->show();
  return true;
}

bool LoadMainTreeViewListBox(const ViewSources& sources) {
  ViewSlots& viewSlots = sources.viewSlots;
  TreeNodeModel* model = ModelOf(viewSlots.TreeViewWindow);
  if (!model) return false;
  TreeNodeList nodes;
  ShownTotals totals;
  if (!LoadTreeNodes(sources.owner, sources.databases.CurrentDatabase(), model->appMode(), sources.selection,
                     TreeTextFormat{sources.settings.europeanDates(), viewSlots.RunningTimeRecord}, &nodes, &totals))
    return false;
  ShowTotals(totals, sources.selection, sources.databases.CurrentDatabase());
  model->setNodes(std::move(nodes));
  ShowRecordCount(0);
  viewSlots.TreeItemTable.Attach(&model->nodes());
  viewSlots.TreeItemCount = int(viewSlots.TreeItemTable.count());
  ShowRecordCount(viewSlots.TreeItemCount);
  return true;
}

bool LoadTreeView(const ViewSources& sources) {
  SetStatusText(PWH_STATUS_ACTIVITY, u"loading tree view...");
  const bool loaded = LoadMainTreeViewListBox(sources);
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  return loaded;
}

bool RecreateTreeView(const ViewSources& sources) {
  ViewSlots& viewSlots = sources.viewSlots;
  const TreePlace keep = PlaceOf(viewSlots.TreeViewWindow, sources.databases.AppMode);
  // The groups the user opened stay open in the new tree, where it has them.
  const TreeNodeModel* old = ModelOf(viewSlots.TreeViewWindow);
  const std::vector<OpenGroup> open =
      old && old->appMode() == sources.databases.AppMode ? old->rows().OpenGroups() : std::vector<OpenGroup>{};
  DestroyCurrentView(viewSlots);
  viewSlots.TreeItemTable.Clear();
  viewSlots.TreeItemCount = 0;
  if (!CreateMainTreeView(viewSlots, sources.databases.AppMode)) return false;
  const bool loaded = LoadTreeView(sources);
  if (!open.empty()) viewSlots.TreeViewWindow->changeOpen([&open](TreeRows& rows) { rows.Reopen(open); });
  SelectTreeItem(viewSlots.TreeViewWindow, FindPlace(ModelOf(viewSlots.TreeViewWindow), viewSlots.TreeItemTable, keep));
  viewSlots.TreeViewWindow->setFocus();
  return loaded;
}

TreeItem SelectedTreeItem(const TreeNodeView* tree) {
  return tree ? tree->selectedNode() : PWH_NO_TREE_ITEM;
}

bool SelectTreeItem(TreeNodeView* tree, TreeItem item) { return tree && tree->selectNode(item); }

void ExpandCollapseTree(HWND window, TreeNodeView* tree) {
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
