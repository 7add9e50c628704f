#include "views/gui/tree_model.h"

#include <QIcon>
#include <QPixmap>

#include "platform/clock.h"

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

TreeNodeModel::TreeNodeModel(int appMode, QObject* parent) : QAbstractListModel(parent), appMode_(appMode) {}

void TreeNodeModel::setNodes(TreeNodeList&& nodes) {
  beginResetModel();
  nodes_ = std::move(nodes);
  rows_.Reset(&nodes_);
  endResetModel();
}

QModelIndex TreeNodeModel::indexOf(TreeNodeId id) const {
  const int row = rows_.RowOf(id);
  return row < 0 ? QModelIndex() : createIndex(row, 0, quintptr(id));
}

TreeNodeId TreeNodeModel::nodeOf(const QModelIndex& index) {
  return index.isValid() ? TreeNodeId(index.internalId()) : PWH_NO_TREE_NODE;
}

int TreeNodeModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

QModelIndex TreeNodeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0 || std::size_t(row) >= rows_.size() || parent.isValid()) return QModelIndex();
  return createIndex(row, 0, quintptr(rows_.NodeAt(std::size_t(row))));
}

QVariant TreeNodeModel::data(const QModelIndex& index, int role) const {
  const TreeNodeId id = nodeOf(index);
  if (id == PWH_NO_TREE_NODE) return QVariant();
  switch (role) {
    case Qt::DisplayRole: {
      const std::u16string label = nodes_.Label(id, GetLocalTime());
      return QString(reinterpret_cast<const QChar*>(label.data()), qsizetype(label.size()));
    }
    case Qt::DecorationRole:
      return NodeIcon();
    case LevelRole:
      return nodes_.node(id).level;
    case BranchRole:
      return !nodes_.node(id).hasChildren ? Leaf : rows_.IsOpen(id) ? Open : Closed;
    default:
      return QVariant();
  }
}

Qt::ItemFlags TreeNodeModel::flags(const QModelIndex& index) const {
  // Rows are flat to the view: a group's children are rows of their own.
  if (nodeOf(index) == PWH_NO_TREE_NODE) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace pw
