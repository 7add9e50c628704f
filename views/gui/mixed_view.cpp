#include "views/gui/mixed_view.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QTableView>

#include <algorithm>
#include <memory>

#include "platform/gui/hwnd.h"
#include "platform/object_store.h"
#include "storage/record_store.h"
#include "views/gui/list_view.h"
#include "views/gui/record_list_model.h"
#include "views/mixed_card.h"

static void RegisterResources() { Q_INIT_RESOURCE(resources); }

namespace pw {

namespace {

// Between the card's edge and its text.
constexpr int kTextInsetX = 5;
constexpr int kTextInsetY = 2;

// The card's four type styles: "Arial" at 9 points, or at the desktop's own
// size when that is larger, so that a larger desktop font enlarges the card.
struct CardFonts {
  QFont label, value, underlined, italic;

  explicit CardFonts(const QPaintDevice* device) {
    const int dpi = device ? device->logicalDpiY() : 96;
    const int pixels = std::max(9 * dpi / 72, QFontInfo(QApplication::font()).pixelSize());
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(std::max(1, pixels));
    value = base;
    label = base;
    label.setWeight(QFont::Bold);
    underlined = base;
    underlined.setUnderline(true);
    italic = base;
    italic.setItalic(true);
  }

  const QFont& of(CardFont font) const {
    switch (font) {
      case CardFont::Label: return label;
      case CardFont::Underlined: return underlined;
      case CardFont::Italic: return italic;
      case CardFont::Value: break;
    }
    return value;
  }

  // The height of the tallest line the card's fonts make.
  int lineHeight() const {
    int h = 0;
    for (const QFont* f : {&label, &value, &underlined, &italic}) h = std::max(h, QFontMetrics(*f).height());
    return h;
  }
};

const QPixmap& CardPicture() {
  static const QPixmap picture = [] {
    RegisterResources();
    return QPixmap(QStringLiteral(":/bitmaps/130.png"));
  }();
  return picture;
}

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// The frame of the card with the picture centred in it.
void DrawEmptyCard(QPainter& painter, const QRect& card) {
  painter.save();
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::white);
  painter.drawRect(card.adjusted(0, 0, -1, -1));
  painter.restore();
}

void DrawCard(QPainter& painter, const QRect& card, const std::vector<CardLine>& lines) {
  DrawEmptyCard(painter, card);
  const QPixmap& picture = CardPicture();
  if (!picture.isNull()) {
    const int x = card.left() + (card.width() - picture.width()) / 2;
    const int y = card.top() + (card.height() - picture.height()) / 2;
    painter.drawPixmap(x, y, picture);
  }

  const CardFonts fonts(painter.device());
  const int pitch = std::max(CardLinePitch(card.top(), card.top() + card.height(), int(lines.size())), fonts.lineHeight());
  painter.save();
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  // Text is not clipped to the card: a long value runs past its right edge.
  const int x0 = card.left() + kTextInsetX;
  const int y0 = card.top() + kTextInsetY;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    int x = x0;
    const int y = y0 + int(k) * pitch;
    for (const CardPiece& piece : lines[k]) {
      const QFont& font = fonts.of(piece.font);
      const QFontMetrics metrics(font);
      const QString text = ToQString(piece.text);
      painter.setFont(font);
      painter.drawText(x, y + metrics.ascent(), text);
      x += metrics.horizontalAdvance(text) + PWH_CARD_PIECE_GAP;
    }
  }
  painter.restore();
}

// The record of the Mixed list's selected row, read from db without a
// message (the card is drawn while the window paints); false when there is
// none.
template <class Record>
bool ReadSelectedRecord(const QTableView* list, DatabaseHandle& db, Record* record, CEOID* oid = nullptr) {
  const auto* model = list ? dynamic_cast<const RecordListModel*>(list->model()) : nullptr;
  if (!model) return false;
  const std::int64_t position = model->positionOfRow(GetListSelectionMark(list));
  if (position < 0) return false;
  PropertyBuffer buffer;
  const CEOID found = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, DWORD(position), nullptr);
  if (found == 0) return false;
  if (oid) *oid = found;
  if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) return false;
  ClearRecord(*record);
  return PropsToRecord(buffer.data(), buffer.size(), *record);
}

}  // namespace

QRect GetCardRectangle(const ViewSlots& viewSlots) {
  if (!viewSlots.MixedListWindow || !viewSlots.ViewArea) return QRect();
  const QRect list = viewSlots.MixedListWindow->geometry();
  const int top = list.top() + list.height();
  return QRect(list.left(), top, list.width(), std::max(0, FromHwnd(viewSlots.ViewArea)->height() - top));
}

int GetCardLinePitch(const ViewSlots& viewSlots, const QRect& card, int lines) {
  const CardFonts fonts(FromHwnd(viewSlots.ViewArea));
  return std::max(CardLinePitch(card.top(), card.top() + card.height(), lines), fonts.lineHeight());
}

void DrawTimeCard(QPainter& painter, const QRect& card, const TimeRecord& record, const ListCellFormat& format,
                  const SYSTEMTIME* runningNow) {
  DrawCard(painter, card, TimeCardLines(record, format, runningNow));
}

void DrawExpenseCard(QPainter& painter, const QRect& card, const ExpenseRecord& record,
                     const ListCellFormat& format) {
  DrawCard(painter, card, ExpenseCardLines(record, format));
}

namespace {

// The card: a window of its own below the Mixed list, following the list's
// size and visibility and going with it.
class MixedCard final : public QWidget {
 public:
  MixedCard(const ViewSources& sources, QTableView* list)
      : QWidget(list->parentWidget()),
        list_(list),
        viewSlots_(sources.viewSlots),
        databases_(sources.databases),
        settings_(sources.settings) {
    setObjectName(QStringLiteral("MixedCard"));
    // Every pixel is painted: the view area below never needs repainting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    list->installEventFilter(this);
    connect(list, &QObject::destroyed, this, &QObject::deleteLater);
    setGeometry(GetCardRectangle(viewSlots_));
    setVisible(list->isVisible());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == list_) {
      switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Move: setGeometry(GetCardRectangle(viewSlots_)); break;
        case QEvent::Show: show(); break;
        case QEvent::Hide: hide(); break;
        default: break;
      }
    }
    return false;
  }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (list_ != viewSlots_.MixedListWindow) return;
    DatabaseHandle& db = databases_.CurrentDatabase();
    const ListCellFormat format = ListCellFormatOf(settings_);
    if (databases_.AppMode == PWH_EXPENSE_MODE) {
      auto record = std::make_unique<ExpenseRecord>();
      if (ReadSelectedRecord(list_, db, record.get())) return DrawExpenseCard(painter, rect(), *record, format);
    } else {
      auto record = std::make_unique<TimeRecord>();
      CEOID oid = 0;
      if (ReadSelectedRecord(list_, db, record.get(), &oid)) {
        // The running timer's record shows the time it has run so far.
        const SYSTEMTIME now = GetLocalTime();
        const bool running = oid != 0 && oid == viewSlots_.RunningTimeRecord;
        return DrawTimeCard(painter, rect(), *record, format, running ? &now : nullptr);
      }
    }
    DrawEmptyCard(painter, rect());
  }

 public:
  const QTableView* list() const { return list_; }

 private:
  QTableView* list_;
  const ViewSlots& viewSlots_;
  RecordDatabases& databases_;
  const Settings& settings_;
};

MixedCard* CardOf(const QTableView* list) {
  if (!list || !list->parentWidget()) return nullptr;
  for (QObject* child : list->parentWidget()->children())
    if (auto* card = dynamic_cast<MixedCard*>(child); card && card->list() == list) return card;
  return nullptr;
}

}  // namespace

void AttachMixedCard(const ViewSources& sources, QTableView* list) {
  if (list && list->parentWidget()) new MixedCard(sources, list);
}

void PaintMixedCard(const ViewSlots& viewSlots) {
  if (MixedCard* card = CardOf(viewSlots.MixedListWindow)) card->update();
}

void ClearMixedCard(const ViewSlots& viewSlots) { PaintMixedCard(viewSlots); }

}  // namespace pw
