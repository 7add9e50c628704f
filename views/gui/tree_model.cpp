#include "views/gui/tree_model.h"

#include <QIcon>
#include <QPixmap>

static void RegisterResources() { Q_INIT_RESOURCE(resources); }

namespace pw {

namespace {

// Every node, group or leaf, shows the second picture of the tree's strip
// (bitmap 112: a check mark and a grey circle, 16 x 16 each).
const QIcon& NodeIcon() {
  static const QIcon icon = [] {
    RegisterResources();
    const QPixmap strip(QStringLiteral(":/bitmaps/112.png"));
    return strip.isNull() ? QIcon() : QIcon(strip.copy(16, 0, 16, 16));
  }();
  return icon;
}

}  // namespace

TreeNodeModel::TreeNodeModel(int appMode, QObject* parent) : QAbstractItemModel(parent), appMode_(appMode) {}

void TreeNodeModel::setNodes(TreeNodeList&& nodes) {
  beginResetModel();
  nodes_ = std::move(nodes);
  nodes_.Children(PWH_NO_TREE_NODE);  // index the children now, not on the first paint
  endResetModel();
}

QModelIndex TreeNodeModel::indexOf(TreeNodeId id) const {
  if (id < 0 || id >= TreeNodeId(nodes_.size())) return QModelIndex();
  return createIndex(nodes_.RowOf(id), 0, quintptr(id));
}

TreeNodeId TreeNodeModel::nodeOf(const QModelIndex& index) {
  return index.isValid() ? TreeNodeId(index.internalId()) : PWH_NO_TREE_NODE;
}

QModelIndex TreeNodeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0 || (parent.isValid() && parent.column() != 0)) return QModelIndex();
  const std::span<const TreeNodeId> children = nodes_.Children(nodeOf(parent));
  if (std::size_t(row) >= children.size()) return QModelIndex();
  return createIndex(row, 0, quintptr(children[std::size_t(row)]));
}

QModelIndex TreeNodeModel::parent(const QModelIndex& child) const {
  const TreeNodeId id = nodeOf(child);
  if (id == PWH_NO_TREE_NODE) return QModelIndex();
  return indexOf(nodes_.node(id).parent);
}

int TreeNodeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  return int(nodes_.Children(nodeOf(parent)).size());
}

int TreeNodeModel::columnCount(const QModelIndex&) const { return 1; }

bool TreeNodeModel::hasChildren(const QModelIndex& parent) const {
  const TreeNodeId id = nodeOf(parent);
  if (id == PWH_NO_TREE_NODE) return !nodes_.empty();
  return parent.column() == 0 && nodes_.node(id).hasChildren;
}

QVariant TreeNodeModel::data(const QModelIndex& index, int role) const {
  const TreeNodeId id = nodeOf(index);
  if (id == PWH_NO_TREE_NODE) return QVariant();
  if (role == Qt::DisplayRole) {
    const std::u16string_view text = nodes_.text(id);
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
  }
  if (role == Qt::DecorationRole) return NodeIcon();
  return QVariant();
}

Qt::ItemFlags TreeNodeModel::flags(const QModelIndex& index) const {
  const TreeNodeId id = nodeOf(index);
  if (id == PWH_NO_TREE_NODE) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!nodes_.node(id).hasChildren) flags |= Qt::ItemNeverHasChildren;
  return flags;
}

}  // namespace pw
