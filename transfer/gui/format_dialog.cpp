#include "transfer/gui/format_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/gui/control_names.h"
#include "platform/gui/hwnd.h"
#include "platform/host_port.h"
#include "transfer/delimited_format.h"

namespace pw {
namespace {

QComboBox* SettingList(QWidget* parent, int id, const QString& name, const QStringList& entries, const QString& shown) {
  auto* box = new QComboBox(parent);
  NameControl(box, id, name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  // A typed character is taken as typed, never completed from an entry.
  box->setCompleter(nullptr);
  QStringList sorted = entries;
  sorted.sort(Qt::CaseSensitive);
  box->addItems(sorted);
  box->setCurrentIndex(box->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
  return box;
}

// The setting a list shows, cutting what it shows to the character it counts.
std::u16string ReadList(QComboBox* box) {
  const FormatSettingText read = ReadFormatSetting(U16TextOf(box->currentText()));
  const QString shown = QTextOf(read.shown);
  if (shown != box->currentText()) {
    const QSignalBlocker block(box);
    box->setEditText(shown);
  }
  return read.setting;
}

}  // namespace

FormatDialog::FormatDialog(QWidget* owner, TransferSettings& settings, int mode)
    : PwDialog(owner), settings_(settings), mode_(mode) {
  setObjectName(QStringLiteral("FormatConfiguration"));
  setWindowTitle(mode == PWH_EXPORT_FORMAT ? QStringLiteral("Export Format Selection")
                                           : QStringLiteral("Import Format Selection"));
  settings_.TransferFormat = DelimitedFormat{};

  qualifier_ = SettingList(this, IDC_FIELD_QUALIFIER, QStringLiteral("FieldQualifierBox"),
                           {QStringLiteral("\""), QStringLiteral("'")}, QStringLiteral("\""));
  fieldDelimiter_ = SettingList(this, IDC_FIELD_DELIMITER, QStringLiteral("FieldDelimiterBox"),
                                {QTextOf(PWH_TAB_ENTRY), QStringLiteral(";"), QStringLiteral(",")},
                                QStringLiteral(","));
  recordDelimiter_ = SettingList(this, IDC_RECORD_DELIMITER, QStringLiteral("RecordDelimiterBox"),
                                 {QTextOf(PWH_NEWLINE_ENTRY)},
                                 QTextOf(PWH_NEWLINE_ENTRY));
  intoPulldowns_ = new QCheckBox(QStringLiteral("&Import new field data into pulldowns"), this);
  NameControl(intoPulldowns_, IDC_IMPORT_INTO_PULLDOWNS, QStringLiteral("ImportIntoPulldownsCheck"));
  intoPulldowns_->setEnabled(mode != PWH_EXPORT_FORMAT);

  preview_ = new QLabel(this);
  NameControl(preview_, IDC_FORMAT_PREVIEW, QStringLiteral("PreviewLabel"));
  preview_->setTextFormat(Qt::PlainText);
  preview_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  preview_->setMinimumHeight(3 * fontMetrics().lineSpacing());
  preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* form = new QFormLayout;
  auto addRow = [&](const QString& label, QComboBox* box) {
    auto* text = new QLabel(label, this);
    text->setBuddy(box);
    form->addRow(text, box);
  };
  addRow(QStringLiteral("Field &Qualifier"), qualifier_);
  addRow(QStringLiteral("Field &Delimiter"), fieldDelimiter_);
  addRow(QStringLiteral("&Record Delimiter"), recordDelimiter_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(intoPulldowns_);
  layout->addWidget(new QLabel(QStringLiteral("Preview:"), this));
  layout->addWidget(preview_);
  layout->addWidget(CreateOkCancelButtons(this));

  for (QComboBox* box : {qualifier_, fieldDelimiter_, recordDelimiter_}) {
    connect(box, &QComboBox::currentTextChanged, this, &FormatDialog::ReadSettings);
    connect(box, &QComboBox::editTextChanged, this, &FormatDialog::ReadSettings);
  }
  ReadSettings();
  qualifier_->setFocus();
}

void FormatDialog::ReadSettings() {
  DelimitedFormat& format = settings_.TransferFormat;
  format.qualifier = ReadList(qualifier_);
  format.fieldDelimiter = ReadList(fieldDelimiter_);
  format.recordDelimiter = ReadList(recordDelimiter_);
  preview_->setText(QTextOf(FormatPreview(format)));
}

void FormatDialog::accept() {
  ReadSettings();
  const std::u16string_view refusal = FormatRefusal(settings_.TransferFormat);
  if (!refusal.empty()) {
    MessageBoxW(this, refusal, u"Format Selection", MB_OK | MB_ICONINFORMATION);
    PwDialog::reject();
    return;
  }
  if (mode_ == PWH_IMPORT_FORMAT) settings_.ImportIntoPulldowns = intoPulldowns_->isChecked() ? 1 : 0;
  PwDialog::accept();
}

int OpenFormatDialog(HWND owner, TransferSettings& settings, int mode) {
  return RunModal(new FormatDialog(FromHwnd(owner), settings, mode)) == IDOK ? IDOK : IDCANCEL;
}

}  // namespace pw
