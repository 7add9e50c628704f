// The table models behind the record list and the report list.
//
// RecordListModel shows the records of one database, one row per record,
// without keeping them: a row knows only its record's position, and a cell
// is worked out when the view asks for it, by reading the record from the
// database (a small cache of decoded records keeps a screenful from being
// read once per column). The cache is keyed by record position, so it stays
// good while the quick filter swaps the rows over the same records.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "config/column_model.h"
#include "platform/object_store.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "views/list_cells.h"
#include "views/record_totals.h"

namespace pw {

class RecordListModel final : public QAbstractTableModel {
 public:
  // The columns are those shown for the record kind of appMode (1 time,
  // 2 expense), in display order; the texts follow format.
  RecordListModel(int appMode, const ColumnModel& columns, const ListCellFormat& format,
                  QObject* parent = nullptr);
  ~RecordListModel() override;

  int appMode() const { return appMode_; }
  ColumnRange range() const { return ColumnRangeOfMode(appMode_); }
  // The column-model entry that view column `column` shows; -1 for the
  // label column 0 and for columns past the end.
  int entryAtColumn(int column) const;

  // Where the records come from: a handle of its own on the same database
  // as db, so that reading cells never moves db's current record. When no
  // such handle can be opened, db itself is read.
  void attachDatabase(DatabaseHandle& db);

  // The rows: `count` records at positions 0..count-1, or the first `count`
  // positions of `positions` (ascending). The records read before are kept:
  // attachDatabase forgets them.
  void setAllRows(std::size_t count);
  void setSelectedRows(const std::vector<RecordPosition>& positions, std::size_t count);
  // The record position of a row, -1 when there is no such row.
  std::int64_t positionOfRow(int row) const;
  // The row showing a record position, -1 when none does.
  int rowOfPosition(std::int64_t position) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The object id of the record whose timer runs (0: none), read on every
  // paint: its row shows its hours so far. Null: no timer is shown.
  void setRunningRecord(const std::uint32_t* oid) { running_ = oid; }

  // How many records were read from the database for cells (for tests and
  // measurements of the cache).
  std::uint64_t recordReads() const { return reads_; }

  // The totals of the rows as the list was loaded, with each row's terms
  // (set after the rows; new rows forget them).
  void setTotals(TotalsCounter totals) { totals_ = std::move(totals); }
  const ShownTotals& totals() const { return totals_.totals(); }
  // The record of a row changed in place (props: it as stored now): its
  // cells are worked out anew and the totals counted again. False when
  // there is no such row or the totals kept no terms.
  bool rowChanged(int row, const PropertyBuffer& props);

 private:
  static constexpr int kCacheSlots = 64;

  struct Slot {
    std::int64_t position = -1;
    CEOID oid = 0;
  };

  ListCell cellAt(int row, int column) const;
  // Finds or reads the record of a row into its cache slot; returns the slot.
  int loadRow(int row) const;
  DatabaseHandle* source() const;

  int appMode_;
  ListCellFormat format_;
  std::vector<int> entries_;         // entries_[c - 1]: the entry of view column c
  std::vector<QString> titles_;      // titles_[c - 1]

  DatabaseHandle ownDb_;
  DatabaseHandle* sharedDb_ = nullptr;

  std::size_t rows_ = 0;
  bool allRows_ = true;
  std::vector<RecordPosition> positions_;  // the rows' positions when !allRows_

  // Decoded records of recently shown rows, slot = position % kCacheSlots.
  mutable Slot slots_[kCacheSlots];
  mutable std::unique_ptr<TimeRecord[]> timeCache_;
  mutable std::unique_ptr<ExpenseRecord[]> expenseCache_;
  mutable PropertyBuffer buffer_;
  mutable std::uint64_t reads_ = 0;
  const std::uint32_t* running_ = nullptr;
  TotalsCounter totals_{PWH_TIME_MODE};
};

// The lines of the Report view: one column titled "Report Entry".
class ReportListModel final : public QAbstractTableModel {
 public:
  explicit ReportListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // Inserts a line before row `row` (clamped to 0..lineCount()).
  void insertLine(int row, const QString& text);
  // Replaces every line at once.
  void setLines(std::deque<QString> lines);
  int lineCount() const { return int(lines_.size()); }
  QString line(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::deque<QString> lines_;
};

}  // namespace pw
