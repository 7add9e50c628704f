#include "views/gui/current_row.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace pw {

void MakeCurrent(QAbstractItemView* view, const QModelIndex& index) {
  if (!view || !index.isValid() || !view->selectionModel()) return;
  view->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view->scrollTo(index);
}

}  // namespace pw
