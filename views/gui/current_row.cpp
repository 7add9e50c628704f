#include "views/gui/current_row.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

namespace pw {

void MakeCurrent(QAbstractItemView* view, const QModelIndex& index) {
  if (!view || !index.isValid() || !view->selectionModel()) return;
  view->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view->scrollTo(index);
}

void MakeListRowCurrent(QTableView* list, int row) {
  if (!list || !list->model()) return;
  const QAbstractItemModel* model = list->model();
  const QModelIndex index = model->index(row, std::min(1, model->columnCount() - 1));
  if (!index.isValid()) return;
  MakeCurrent(list, index);
  list->setFocus();
}

}  // namespace pw
