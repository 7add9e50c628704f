// The Mixed view's card: all fields of the record selected in the Mixed
// list, drawn below the list (views/mixed_card.h says what each line holds)
// over our picture 130 centred in the card.
#pragma once

#include <QRect>

#include "storage/records.h"
#include "views/gui/view_sources.h"
#include "views/list_cells.h"
#include "views/view_slots.h"

class QPainter;
class QTableView;

namespace pw {

// The card: from the Mixed list's bottom edge to the bottom of the view area,
// as wide as the list; empty when there is no Mixed view.
QRect GetCardRectangle(const ViewSlots& viewSlots);

// The distance between line starts for n lines: the card's height shared
// out, but never less than the height of a line of the card's type.
int GetCardLinePitch(const ViewSlots& viewSlots, const QRect& card, int lines);

// Gives a new Mixed list its card, below it in the view area. The card reads
// the selected row's record from the current database of sources and
// writes it in the settings' date and time forms.
void AttachMixedCard(const ViewSources& sources, QTableView* list);

// Has the card drawn again from the selected row's record (at the next
// paint). With no row selected, or a record that cannot be read, the card
// is drawn empty.
void PaintMixedCard(const ViewSlots& viewSlots);
// Asks for the card to be painted again (it is drawn empty when no row is
// selected, as after a mode switch).
void ClearMixedCard(const ViewSlots& viewSlots);

// Draw one card with `painter` (on the view area, or on any device for
// a picture of the card) into `card`.
// runningNow: the record's timer runs (views/mixed_card.h).
void DrawTimeCard(QPainter& painter, const QRect& card, const TimeRecord& record, const ListCellFormat& format,
                  const SYSTEMTIME* runningNow = nullptr);
void DrawExpenseCard(QPainter& painter, const QRect& card, const ExpenseRecord& record,
                     const ListCellFormat& format);

}  // namespace pw
