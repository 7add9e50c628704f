#include "views/gui/record_list_model.h"

#include <QIcon>
#include <QPixmap>

#include <algorithm>

#include "platform/error_codes.h"
#include "text/fixed_text.h"

// The resource file is part of a static library: make sure its data is
// linked in and registered before the icon strip is loaded.
static void RegisterResources() { Q_INIT_RESOURCE(resources); }

namespace pw {

namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// The three 16 x 16 cell icons, cut from the 48 x 16 strip of bitmap 124.
const QIcon& CellIcon(int index) {
  static const QIcon* icons = [] {
    RegisterResources();
    auto* strip = new QIcon[3];
    const QPixmap bitmap(QStringLiteral(":/bitmaps/124.png"));
    if (!bitmap.isNull()) {
      for (int i = 0; i < 3; ++i) strip[i] = QIcon(bitmap.copy(16 * i, 0, 16, 16));
    }
    return strip;
  }();
  return icons[index];
}

}  // namespace

// --- RecordListModel ------------------------------------------------------

RecordListModel::RecordListModel(int appMode, const ColumnModel& columns, const ListCellFormat& format,
                                 QObject* parent)
    : QAbstractTableModel(parent), appMode_(appMode), format_(format) {
  entries_ = ShownColumnEntries(columns, range());
  titles_.reserve(entries_.size());
  for (int entry : entries_) titles_.push_back(ToQString(columns.GetColumn(entry).text()));
}

RecordListModel::~RecordListModel() = default;

int RecordListModel::entryAtColumn(int column) const {
  if (column < 1 || column > int(entries_.size())) return -1;
  return entries_[column - 1];
}

void RecordListModel::attachDatabase(DatabaseHandle& db) {
  sharedDb_ = &db;
  ownDb_.Close();
  CEOIDINFO info;
  const DWORD savedError = GetLastError();
  if (db.IsOpen() && CeOidGetInfo(db.DatabaseOid(), &info) && info.wObjType == OBJTYPE_DATABASE) {
    CEOID oid = 0;
    ownDb_ = CeOpenDatabase(&oid, info.dbaseName, info.sortProperty, 0, nullptr);
  }
  SetLastError(savedError);
  for (Slot& s : slots_) s.position = -1;
}

DatabaseHandle* RecordListModel::source() const {
  if (ownDb_.IsOpen()) return const_cast<DatabaseHandle*>(&ownDb_);
  return sharedDb_;
}

void RecordListModel::setAllRows(std::size_t count) {
  beginResetModel();
  allRows_ = true;
  positions_.clear();
  positions_.shrink_to_fit();
  rows_ = count;
  totals_ = TotalsCounter(appMode_);  // the terms belong to the rows before
  endResetModel();
}

void RecordListModel::setSelectedRows(const std::vector<RecordPosition>& positions, std::size_t count) {
  beginResetModel();
  allRows_ = false;
  if (count > positions.size()) count = positions.size();
  positions_.assign(positions.begin(), positions.begin() + std::ptrdiff_t(count));
  rows_ = count;
  totals_ = TotalsCounter(appMode_);  // the terms belong to the rows before
  endResetModel();
}

std::int64_t RecordListModel::positionOfRow(int row) const {
  if (row < 0 || std::size_t(row) >= rows_) return -1;
  return allRows_ ? std::int64_t(row) : std::int64_t(positions_[std::size_t(row)]);
}

int RecordListModel::rowOfPosition(std::int64_t position) const {
  if (position < 0) return -1;
  if (allRows_) return std::uint64_t(position) < rows_ ? int(position) : -1;
  const auto end = positions_.begin() + std::ptrdiff_t(rows_);
  const auto it = std::lower_bound(positions_.begin(), end, RecordPosition(position));
  return it != end && *it == position ? int(it - positions_.begin()) : -1;
}

bool RecordListModel::rowChanged(int row, const PropertyBuffer& props) {
  if (row < 0 || std::size_t(row) >= rows_ || !totals_.Replace(std::size_t(row), props)) return false;
  slots_[positionOfRow(row) % kCacheSlots].position = -1;  // read the record again
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  return true;
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_);
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(entries_.size()) + 1;
}

int RecordListModel::loadRow(int row) const {
  const std::int64_t position = positionOfRow(row);
  const int slot = position < 0 ? 0 : int(position % kCacheSlots);
  if (position >= 0 && slots_[slot].position == position) return slot;

  const bool time = appMode_ != PWH_EXPENSE_MODE;
  if (time && !timeCache_) timeCache_.reset(new TimeRecord[kCacheSlots]);
  if (!time && !expenseCache_) expenseCache_.reset(new ExpenseRecord[kCacheSlots]);
  if (time) ClearRecord(timeCache_[slot]); else ClearRecord(expenseCache_[slot]);

  // A record that cannot be reached shows as a cleared record; the next
  // re-creation of the list, which follows every change, puts it right.
  DatabaseHandle* db = source();
  slots_[slot].oid = db && position >= 0 ? CeSeekDatabase(*db, CEDB_SEEK_BEGINNING, DWORD(position), nullptr) : 0;
  if (slots_[slot].oid != 0 && CeReadRecordProps(*db, CEDB_ALLOWREALLOC, buffer_) != 0) {
    ++reads_;
    if (time) PropsToRecord(buffer_.data(), buffer_.size(), timeCache_[slot]);
    else PropsToRecord(buffer_.data(), buffer_.size(), expenseCache_[slot]);
  }
  buffer_.clear();
  slots_[slot].position = position;
  return slot;
}

ListCell RecordListModel::cellAt(int row, int column) const {
  const int entry = entryAtColumn(column);
  if (entry < 0) return ListCell{};
  const int slot = loadRow(row);
  if (appMode_ != PWH_EXPENSE_MODE && running_ && *running_ != 0 && slots_[slot].oid == *running_)
    return RunningRecordCell(timeCache_[slot], entry, format_, GetLocalTime());
  return appMode_ != PWH_EXPENSE_MODE ? TimeRecordCell(timeCache_[slot], entry, format_)
                       : ExpenseRecordCell(expenseCache_[slot], entry, format_);
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::DecorationRole) return QVariant();
  if (!index.isValid() || index.row() >= int(rows_) || index.column() < 1) return QVariant();
  const ListCell cell = cellAt(index.row(), index.column());
  if (role == Qt::DisplayRole) return cell.text.empty() ? QVariant() : QVariant(ToQString(cell.text));
  if (cell.icon < 0) return QVariant();
  return CellIcon(cell.icon);
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  if (section == 0) return QString();
  if (section < 1 || section > int(titles_.size())) return QVariant();
  return titles_[section - 1];
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// --- ReportListModel ------------------------------------------------------

void ReportListModel::insertLine(int row, const QString& text) {
  row = std::clamp(row, 0, lineCount());
  beginInsertRows(QModelIndex(), row, row);
  lines_.insert(lines_.begin() + row, text);
  endInsertRows();
}

void ReportListModel::setLines(std::deque<QString> lines) {
  beginResetModel();
  lines_ = std::move(lines);
  endResetModel();
}

QString ReportListModel::line(int row) const {
  return row >= 0 && row < lineCount() ? lines_[std::size_t(row)] : QString();
}

int ReportListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : lineCount(); }

int ReportListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.column() != 0) return QVariant();
  return line(index.row());
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section != 0) return QVariant();
  return QStringLiteral("Report Entry");
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace pw
