#include "dialogs/gui/time_picker.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <map>

#include "dialogs/gui/dialog_support.h"
#include "dialogs/time_picker.h"
#include "platform/error_codes.h"
#include "platform/gui/control_names.h"
#include "platform/gui/hwnd.h"
#include "text/fixed_text.h"
#include "text/time_text.h"

namespace pw {
namespace {

// Typing into the 12-hour time box as people write times: "0530p",
// "5:30 pm", "0530A". A or P in either case, wherever the cursor is, chooses
// AM or PM at once; the "m" after it is skipped; ":" goes to the minutes and
// a blank to AM/PM.
class TwelveHourTyping final : public QObject {
 public:
  explicit TwelveHourTyping(QTimeEdit* box) : QObject(box), box_(box) { box->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (others != Qt::KeyboardModifiers()) return false;
    const QString text = key->text().toLower();
    if (text == QStringLiteral("a") || text == QStringLiteral("p")) {
      const QTime time = box_->time();
      const int hour = time.hour() % 12 + (text == QStringLiteral("p") ? 12 : 0);
      box_->setTime(QTime(hour, time.minute(), time.second(), time.msec()));
      box_->setCurrentSection(QDateTimeEdit::AmPmSection);
      return true;
    }
    if (text == QStringLiteral("m")) return true;
    if (text == QStringLiteral(":")) return box_->setSelectedSection(QDateTimeEdit::MinuteSection), true;
    if (text == QStringLiteral(" ")) return box_->setSelectedSection(QDateTimeEdit::AmPmSection), true;
    return false;
  }

 private:
  QTimeEdit* box_;
};

class TimePicker final : public PwDialog {
 public:
  TimePicker(QWidget* owner, TimeRecord& record, int which, bool editForm, bool twentyFourHour)
      : PwDialog(owner), record_(record), which_(which), twentyFourHour_(twentyFourHour) {
    NameControl(this, twentyFourHour ? IDD_TIME_PICKER_24 : IDD_TIME_PICKER_12,
                twentyFourHour ? QStringLiteral("TimePicker24Dialog") : QStringLiteral("TimePicker12Dialog"));

    auto* hours = new QGroupBox(QStringLiteral("Hour"), this);
    auto* minutes = new QGroupBox(QStringLiteral("Minute"), this);
    auto* hourGrid = new QGridLayout(hours);
    auto* minuteGrid = new QGridLayout(minutes);
    auto* amPm = new QHBoxLayout;
    int hourCount = 0, minuteCount = 0;
    for (const PickerButton& b : PickerButtons(twentyFourHour)) {
      auto* button = new QToolButton(this);
      NameControl(button, b.id, NameFromLabel(QTextOf(b.label), QStringLiteral("Button")));
      button->setText(QTextOf(b.label));
      button->setCheckable(true);
      button->setToolButtonStyle(Qt::ToolButtonTextOnly);
      button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
      const PickerButton def = b;
      connect(button, &QToolButton::clicked, this, [this, button, def] { press(button, def); });
      switch (b.group) {
        case PickerGroup::Hour:
          hourGrid->addWidget(button, hourCount / 6, hourCount % 6), ++hourCount;
          break;
        case PickerGroup::Minute:
          minuteGrid->addWidget(button, minuteCount / 6, minuteCount % 6), ++minuteCount;
          break;
        case PickerGroup::AmPm:
          SetBoldFont(button);
          amPm->addWidget(button);
          break;
      }
    }

    box_ = new QTimeEdit(this);
    NameControl(box_, IDC_PICK_TIME_BOX, QStringLiteral("TimeBox"));
    // The box's text is read back as "%d:%d %s": its AM and PM stay English.
    box_->setLocale(QLocale::c());
    box_->setDisplayFormat(twentyFourHour ? QStringLiteral(" HH:mm") : QStringLiteral(" hh:mm AP"));
    if (!twentyFourHour) new TwelveHourTyping(box_);
    auto* boxLabel = new QLabel(QStringLiteral("&Time"), this);
    boxLabel->setBuddy(box_);
    auto* boxRow = new QHBoxLayout;
    boxRow->addWidget(boxLabel);
    boxRow->addWidget(box_, 1);
    boxRow->addLayout(amPm);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hours);
    layout->addWidget(minutes);
    layout->addLayout(boxRow);
    layout->addWidget(CreateOkCancelButtons(this));

    if (editForm) {
      setBoxFromRecord();
    } else {
      const SYSTEMTIME now = GetLocalTime();
      const QSignalBlocker quiet(box_);
      box_->setTime(QTime(now.wHour, now.wMinute));
      readBoxIntoRecord();
    }
    writeTitle();
    connect(box_, &QTimeEdit::timeChanged, this, [this] { boxChanged(); });
  }

 private:
  void press(QToolButton* button, const PickerButton& def) {
    QToolButton*& pressed = pressed_[def.group];
    if (pressed && pressed != button) pressed->setChecked(false);
    button->setChecked(true);
    pressed = button;
    RecordTime time = GetRecordTime(record_, which_);
    PressPickerButton(def.id, twentyFourHour_, &time);
    SetRecordTime(record_, which_, time);
    writeTitle();
    setBoxFromRecord();
  }

  // The user changed the box: it wins over the buttons.
  void boxChanged() {
    readBoxIntoRecord();
    for (auto& [group, button] : pressed_) {
      if (button) button->setChecked(false);
      button = nullptr;
    }
    writeTitle();
  }

  void setBoxFromRecord() {
    const SYSTEMTIME t = TimeBoxValue(GetRecordTime(record_, which_));
    const QTime time(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    if (!time.isValid()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      ShowTimeBoxRefused(this);
      return;
    }
    const QSignalBlocker quiet(box_);
    box_->setTime(time);
  }

  void readBoxIntoRecord() {
    RecordTime time = GetRecordTime(record_, which_);
    if (ReadTimeBoxText(this, U16TextOf(box_->text()), twentyFourHour_, &time)) {
      SetRecordTime(record_, which_, time);
    }
  }

  void writeTitle() {
    setWindowTitle(QTextOf(PickerTitle(which_, GetRecordTime(record_, which_), twentyFourHour_)));
  }

  TimeRecord& record_;
  const int which_;
  const bool twentyFourHour_;
  QTimeEdit* box_;
  std::map<PickerGroup, QToolButton*> pressed_;
};

class DurationEntry final : public PwDialog {
 public:
  DurationEntry(QWidget* owner, TimeRecord& record) : PwDialog(owner), record_(record) {
    NameControl(this, IDD_DURATION_ENTRY, QStringLiteral("DurationEntryDialog"));
    setWindowTitle(QStringLiteral("Duration Entry"));
    hours_ = new QComboBox(this);
    NameControl(hours_, IDC_DURATION_HOURS, QStringLiteral("HoursBox"));
    for (const auto& entry : DurationHourEntries()) hours_->addItem(QTextOf(entry));
    minutes_ = new QComboBox(this);
    NameControl(minutes_, IDC_DURATION_MINUTES, QStringLiteral("MinutesBox"));
    for (const auto& entry : DurationMinuteEntries()) minutes_->addItem(QTextOf(entry));
    summary_ = new QLabel(QStringLiteral("00 hours, 00 minutes"), this);
    NameControl(summary_, IDC_DURATION_SUMMARY, QStringLiteral("DurationSummaryLabel"));

    auto* hoursLabel = new QLabel(QStringLiteral("&Hours"), this);
    hoursLabel->setBuddy(hours_);
    auto* minutesLabel = new QLabel(QStringLiteral("&Minutes"), this);
    minutesLabel->setBuddy(minutes_);
    auto* grid = new QGridLayout;
    grid->addWidget(hoursLabel, 0, 0);
    grid->addWidget(hours_, 0, 1);
    grid->addWidget(minutesLabel, 1, 0);
    grid->addWidget(minutes_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(summary_);
    layout->addWidget(CreateOkCancelButtons(this));

    hours_->setCurrentIndex(0);
    minutes_->setCurrentIndex(0);
    writeSummary();
    for (QComboBox* list : {hours_, minutes_}) {
      connect(list, &QComboBox::currentIndexChanged, this, [this] { writeSummary(); });
    }
  }

  void accept() override {
    if (hours_->currentIndex() >= 0 && minutes_->currentIndex() >= 0) {
      CopyText(record_.duration, DurationEntryText(hours_->currentIndex(), minutes_->currentIndex()));
    }
    PwDialog::accept();
  }

 private:
  void writeSummary() {
    if (hours_->currentIndex() < 0 || minutes_->currentIndex() < 0) return;
    summary_->setText(QTextOf(
        DurationSummaryText(U16TextOf(hours_->currentText()), U16TextOf(minutes_->currentText()))));
  }

  TimeRecord& record_;
  QComboBox* hours_;
  QComboBox* minutes_;
  QLabel* summary_;
};

}  // namespace

QDialog* CreateTimePicker(QWidget* owner, TimeRecord& record, int which, bool editForm,
                          bool twentyFourHour) {
  return new TimePicker(owner, record, which, editForm, twentyFourHour);
}

int PickRecordTime(HWND owner, TimeRecord& record, int which, bool editForm, const Settings& settings) {
  return RunModal(CreateTimePicker(FromHwnd(owner), record, which, editForm, settings.europeanTimes()));
}

QDialog* CreateDurationEntry(QWidget* owner, TimeRecord& record) {
  return new DurationEntry(owner, record);
}

int EnterDuration(HWND owner, TimeRecord& record) {
  return RunModal(CreateDurationEntry(FromHwnd(owner), record));
}

}  // namespace pw
