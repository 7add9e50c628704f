#include "dialogs/gui/time_entry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <map>

#include "dialogs/gui/dialog_support.h"
#include "dialogs/gui/time_picker.h"
#include "dialogs/time_picker.h"
#include "platform/clock.h"
#include "platform/error_codes.h"
#include "platform/gui/control_names.h"
#include "platform/gui/hwnd.h"
#include "platform/host_port.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "storage/record_times.h"
#include "text/time_text.h"

namespace pw {
namespace {

class TimeEntry final : public PwDialog {
 public:
  TimeEntry(QWidget* owner, TimeRecord& record, int mode, const EntryContext& context)
      : PwDialog(owner), record_(record), mode_(*FindTimeEntryMode(mode)), context_(context) {
    NameControl(this, IDD_TIME_ENTRY, QStringLiteral("TimeEntryDialog"));
    setWindowTitle(mode_.noEnd ? QStringLiteral("Start Timer") : QStringLiteral("Pennywhistle Entry"));
    createControls();
    initialise();
    connectControls();
    NameFieldsByLabels(this);
  }

  void accept() override {
    const std::u16string shown = U16TextOf(date_->text());
    if (context_.settings.europeanDates()) {
      std::u16string american;
      EuropeanToAmericanDate(shown, &american);
      CopyText(record_.date, american);
    } else {
      CopyText(record_.date, std::u16string_view(shown).substr(0, PWH_DATE_LIMIT - 1));
    }
    std::array<std::u16string, TimeEntryPulldowns.size()> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = PulldownText(boxes_.at(TimeEntryPulldowns[i].controlId));
    TakePulldownValues(HwndOf(this), context_.pulldowns, record_, texts, context_.settings.confirmAddPulldownItem());
    record_.billable = billable_->isChecked() ? 1 : 0;
    record_.billed = billed_->isChecked() ? 1 : 0;
    FillRecordDuration(record_);
    PwDialog::accept();
  }

  void reject() override {
    if (mode_.clearOnCancel) ClearRecord(record_);
    PwDialog::reject();
  }

 private:
  // The controls in reading order, which is also their Tab order.
  void createControls() {
    auto* grid = new QGridLayout;
    int row = 0;
    auto label = [this](const char* text, QWidget* buddy) {
      auto* l = new QLabel(QString::fromLatin1(text), this);
      l->setBuddy(buddy);
      return l;
    };

    date_ = new QDateEdit(this);
    NameControl(date_, IDC_ENTRY_DATE, QStringLiteral("DateBox"));
    date_->setCalendarPopup(true);
    date_->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 31));
    date_->setDisplayFormat(context_.settings.europeanDates() ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM/dd/yyyy"));
    note_ = CreateDialogButton(QStringLiteral("&Note"), IDC_ENTRY_NOTE, this);
    grid->addWidget(label("&Date", date_), row, 0);
    grid->addWidget(date_, row, 1);
    grid->addWidget(note_, row++, 3);

    start_ = CreateDialogButton(QStringLiteral("00:00"), IDC_ENTRY_START, this, QStringLiteral("StartButton"));
    end_ = CreateDialogButton(QStringLiteral("00:00"), IDC_ENTRY_END, this, QStringLiteral("EndButton"));
    grid->addWidget(label("&Start", start_), row, 0);
    grid->addWidget(start_, row, 1);
    grid->addWidget(label("&End", end_), row, 2);
    grid->addWidget(end_, row++, 3);

    duration_ = CreateDialogButton(QTextOf(PWH_NO_DURATION), IDC_ENTRY_DURATION, this, QStringLiteral("DurationButton"));
    subtractBreak_ = CreateDialogButton(QStringLiteral("subtract &break"), IDC_ENTRY_SUBTRACT_BREAK, this);
    grid->addWidget(duration_, row, 0, 1, 2);
    grid->addWidget(subtractBreak_, row++, 3);

    static constexpr struct {
      const char* label;
      int id;
    } kBoxes[] = {{"&Client", IDC_ENTRY_CLIENT},     {"&Project", IDC_ENTRY_PROJECT},
                  {"S&ubProject", IDC_ENTRY_SUBPROJECT}, {"&Task", IDC_ENTRY_TASK},
                  {"&Amt", IDC_ENTRY_AMOUNT},         {"&Rate", IDC_ENTRY_RATE},
                  {"Cc&y", IDC_ENTRY_CURRENCY}};
    int column = 0;
    for (const auto& b : kBoxes) {
      QComboBox* box = CreatePulldownBox(b.id, NameFromLabel(QString::fromLatin1(b.label), QStringLiteral("Box")), this);
      boxes_[b.id] = box;
      if (b.id == IDC_ENTRY_RATE || b.id == IDC_ENTRY_AMOUNT) MakeNumberBox(box);
      grid->addWidget(label(b.label, box), row, column);
      grid->addWidget(box, row, column + 1);
      if ((column += 2) == 4) column = 0, ++row;
    }
    billable_ = new QCheckBox(QStringLiteral("b&illable"), this);
    NameControl(billable_, IDC_ENTRY_BILLABLE, QStringLiteral("BillableCheck"));
    billed_ = new QCheckBox(QStringLiteral("bi&lled"), this);
    NameControl(billed_, IDC_ENTRY_BILLED, QStringLiteral("BilledCheck"));
    auto* flags = new QHBoxLayout;
    flags->addWidget(billable_);
    flags->addWidget(billed_);
    flags->addStretch(1);
    grid->addLayout(flags, row++, 2, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    for (QWidget* w : {static_cast<QWidget*>(note_), static_cast<QWidget*>(subtractBreak_),
                       static_cast<QWidget*>(start_), static_cast<QWidget*>(end_)}) {
      SetBoldFont(w);
    }
    SetItalicFont(duration_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(CreateOkCancelButtons(this));
  }

  QComboBox* box(int id) const { return boxes_.at(id); }

  void initialise() {
    const SYSTEMTIME today = GetLocalTime();
    date_->setDate(QDate(today.wYear, today.wMonth, today.wDay));
    for (int id : {IDC_ENTRY_RATE, IDC_ENTRY_SUBPROJECT, IDC_ENTRY_TASK, IDC_ENTRY_CURRENCY,
                   IDC_ENTRY_AMOUNT}) {
      fill(id);
    }
    setBillableEnabled(false);
    if (mode_.fromRecord) {
      if (mode_.recordDate) showRecordDate();
      for (int id : {IDC_ENTRY_RATE, IDC_ENTRY_SUBPROJECT, IDC_ENTRY_TASK, IDC_ENTRY_CURRENCY,
                     IDC_ENTRY_AMOUNT}) {
        showField(id);
      }
      if (record_.billable == 1) {
        billable_->setChecked(true);
        setBillableEnabled(true);
        billed_->setChecked(record_.billed == 1);
      }
    }
    fill(IDC_ENTRY_CLIENT);
    fill(IDC_ENTRY_PROJECT);
    if (mode_.fromRecord) {
      showField(IDC_ENTRY_CLIENT);
      showField(IDC_ENTRY_PROJECT);
      showTime(start_, PWH_START_TIME);
      showTime(end_, PWH_END_TIME);
      showDuration();
    }
    if (mode_.noEnd) {
      // The end and the hours come when the timer stops.
      CopyText(record_.duration, PWH_NO_DURATION);
      for (QPushButton* b : {end_, duration_}) b->setText(QTextOf(PWH_NO_DURATION));
      for (QPushButton* b : {end_, duration_, subtractBreak_}) b->setEnabled(false);
    }
    if (mode_.startNow) {
      SetRecordTimeNow(record_, PWH_START_TIME);
      timeChanged(start_, PWH_START_TIME);
    }
    focusFirstEmptyBox();
  }

  void connectControls() {
    for (const auto& [id, b] : boxes_) {
      const int controlId = id;
      connect(b, &QComboBox::editTextChanged, this, [this, controlId] { boxEdited(controlId); });
    }
    // A change by a click, a key or an accessibility client acts the same.
    connect(billable_, &QCheckBox::toggled, this, [this](bool checked) { billableClicked(checked); });
    connect(start_, &QPushButton::clicked, this, [this] { pickTime(start_, PWH_START_TIME); });
    connect(end_, &QPushButton::clicked, this, [this] { pickTime(end_, PWH_END_TIME); });
    connect(duration_, &QPushButton::clicked, this, [this] { enterDuration(); });
    connect(subtractBreak_, &QPushButton::clicked, this, [this] { subtractBreak(); });
    connect(note_, &QPushButton::clicked, this, [this] { EditNote(HwndOf(this), record_.notes); });
  }

  // Focus goes where the user types next: the client of a new record.
  void focusFirstEmptyBox() {
    if (!mode_.fromRecord || PulldownText(box(IDC_ENTRY_CLIENT)).empty()) {
      box(IDC_ENTRY_CLIENT)->setFocus();
    } else {
      date_->setFocus();
    }
  }

  void fill(int id) { FillPulldownBox(HwndOf(this), context_.pulldowns, box(id), CategoryOf(id)); }

  static int CategoryOf(int id) {
    for (const TimeEntryPulldown& list : TimeEntryPulldowns) {
      if (list.controlId == id) return list.categoryId;
    }
    return 0;
  }

  void showField(int id) {
    for (const TimeEntryPulldown& list : TimeEntryPulldowns) {
      if (list.controlId == id) setBoxText(box(id), TextOf(record_.*list.field));
    }
  }

  // Texts set by the dialog itself are not edits by the user.
  static void setBoxText(QComboBox* b, std::u16string_view text) {
    const QSignalBlocker quiet(b);
    SetPulldownText(b, text);
  }

  void showRecordDate() {
    SYSTEMTIME st;
    DateTextToSystemTime(HwndOf(this), TextOf(record_.date), &st);
    const QDate date(st.wYear, st.wMonth, st.wDay);
    if (date.isValid() && date >= date_->minimumDate() && date <= date_->maximumDate()) {
      date_->setDate(date);
      return;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    MessageBoxW(HwndOf(this),
                Format(u"Warning: Windows CE date control init failed: code: [%ld].\n\nDefaulting to "
                       u"todays date.",
                       long(GetLastError())),
                u"Error", MB_OK | MB_ICONEXCLAMATION);
  }

  void showTime(QPushButton* button, int which) {
    std::u16string text;
    FormatRecordTime(&text, record_, which, PWH_BLANK_AS_ZERO, context_.settings.europeanTimes());
    button->setText(QTextOf(text));
  }

  void showDuration() {
    std::u16string text;
    FormatDurationSummary(&text, record_, PWH_SUMMARY_LONG);
    duration_->setText(QTextOf(text));
  }

  void setBillableEnabled(bool enabled) {
    for (int id : {IDC_ENTRY_RATE, IDC_ENTRY_AMOUNT, IDC_ENTRY_CURRENCY}) box(id)->setEnabled(enabled);
    billed_->setEnabled(enabled);
  }

  void billableClicked(bool checked) {
    if (!checked) {
      for (int id : {IDC_ENTRY_RATE, IDC_ENTRY_AMOUNT, IDC_ENTRY_CURRENCY}) setBoxText(box(id), u"");
      billed_->setChecked(false);
    }
    setBillableEnabled(checked);
  }

  // The user typed into a box or chose one of its values.
  void boxEdited(int id) {
    FillRecordDuration(record_);
    const std::u16string_view duration = TextOf(record_.duration);
    if (id == IDC_ENTRY_AMOUNT) {
      if (auto rate = RateForAmount(PulldownText(box(IDC_ENTRY_AMOUNT)), duration)) {
        setBoxText(box(IDC_ENTRY_RATE), *rate);
      }
    } else if (id == IDC_ENTRY_RATE) {
      if (auto amount = AmountForRate(PulldownText(box(IDC_ENTRY_RATE)), duration)) {
        setBoxText(box(IDC_ENTRY_AMOUNT), *amount);
      }
    }
  }

  // Amount and rate follow the duration, whether billable is checked or not.
  void recompute() {
    const AmountAndRate r = RecomputeAmountAndRate(PulldownText(box(IDC_ENTRY_AMOUNT)),
                                                   PulldownText(box(IDC_ENTRY_RATE)),
                                                   TextOf(record_.duration));
    setBoxText(box(IDC_ENTRY_AMOUNT), r.amount);
    setBoxText(box(IDC_ENTRY_RATE), r.rate);
  }

  // After a new start or end time the duration is worked out again.
  void timeChanged(QPushButton* button, int which) {
    showTime(button, which);
    if (mode_.noEnd) return;
    record_.duration[0] = 0;
    FillRecordDuration(record_);
    showDuration();
    recompute();
  }

  void pickTime(QPushButton* button, int which) {
    const bool twentyFourHour = context_.settings.europeanTimes();
    if (RunModal(CreateTimePicker(this, record_, which, mode_.editPickers, twentyFourHour)) == IDOK) {
      timeChanged(button, which);
    }
  }

  void enterDuration() {
    if (RunModal(CreateDurationEntry(this, record_)) != IDOK) return;
    showDuration();
    SetRecordTime(record_, PWH_START_TIME, {});
    SetRecordTime(record_, PWH_END_TIME, {});
    for (QPushButton* b : {start_, end_}) {
      std::u16string zero;
      FormatRecordTime(&zero, record_, PWH_ZERO_TIME, PWH_BLANK_AS_ZERO, context_.settings.europeanTimes());
      b->setText(QTextOf(zero));
    }
    recompute();
  }

  void subtractBreak() {
    const std::u16string saved(TextOf(record_.duration));
    if (!HasDuration(saved)) {
      MessageBoxW(HwndOf(this),
                  u"You do not have valid duration defined yet.\n\nPlease enter record's duration "
                  u"before attempting to substract lunch time from it.",
                  u"Pennywhistle", MB_OK | MB_ICONINFORMATION);
      return;
    }
    std::optional<std::u16string> rest;
    if (RunModal(CreateDurationEntry(this, record_)) == IDOK) {
      rest = SubtractBreak(saved, TextOf(record_.duration));
    }
    if (!rest) {
      CopyText(record_.duration, saved);
      return;
    }
    CopyText(record_.duration, *rest);
    showDuration();
    recompute();
  }

  TimeRecord& record_;
  const TimeEntryMode mode_;
  const EntryContext context_;
  QDateEdit* date_ = nullptr;
  QPushButton* note_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* end_ = nullptr;
  QPushButton* duration_ = nullptr;
  QPushButton* subtractBreak_ = nullptr;
  std::map<int, QComboBox*> boxes_;
  QCheckBox* billable_ = nullptr;
  QCheckBox* billed_ = nullptr;
};

}  // namespace

QDialog* CreateTimeEntryDialog(QWidget* owner, TimeRecord& record, int mode, const EntryContext& context) {
  if (!FindTimeEntryMode(mode)) mode = PWH_TIME_ENTRY_EDIT;
  return new TimeEntry(owner, record, mode, context);
}

int TimeEntryDialog(HWND owner, int mode, TimeRecord& record, const EntryContext& context) {
  return RunModal(CreateTimeEntryDialog(FromHwnd(owner), record, mode, context));
}

}  // namespace pw
