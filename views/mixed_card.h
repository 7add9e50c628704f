// What the Mixed view's card says about one record: its lines, each a row of
// pieces drawn left to right in one of four type styles, every piece 3
// pixels after the end of the one before ("Client:" in bold, then the
// client in plain type, then the next piece ...).
#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "storage/records.h"
#include "views/list_cells.h"

namespace pw {

enum class CardFont { Label, Value, Underlined, Italic };

struct CardPiece {
  CardFont font;
  std::u16string text;
  bool operator==(const CardPiece&) const = default;
};

using CardLine = std::vector<CardPiece>;

// The space between two pieces of a line, in pixels.
inline constexpr int PWH_CARD_PIECE_GAP = 3;

// Eight lines: date and duration, start and end, client, project, subproject,
// task, amount and rate, currency with the billable, billed and note words.
// runningNow: the record's timer runs and it is now; its duration is the
// time from its start until now ("1h, 42m (1.70)", the hours as the List
// view's row shows them) and its end is open.
std::vector<CardLine> TimeCardLines(const TimeRecord& record, const ListCellFormat& format,
                                    const SYSTEMTIME* runningNow = nullptr);
// Seven lines, eight with the miles line of a mileage expense.
std::vector<CardLine> ExpenseCardLines(const ExpenseRecord& record, const ListCellFormat& format);

// The distance between line starts when `lines` lines share a card whose
// edges are `top` and `bottom` (bottom exclusive).
int CardLinePitch(int top, int bottom, int lines);

}  // namespace pw
