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

#include "platform/host_port.h"
#include "transfer/delimited_format.h"

namespace pw {
namespace {

QComboBox* SettingList(QWidget* parent, int id, const QStringList& entries, const QString& shown) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::number(id));
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

FormatDialog::FormatDialog(QWidget* owner, int mode) : PwDialog(owner), mode_(mode) {
  setObjectName(QStringLiteral("FormatConfiguration"));
  setWindowTitle(mode == PWH_EXPORT_FORMAT ? QStringLiteral("Export Format Selection")
                                           : QStringLiteral("Import Format Selection"));
  TransferFormat = DelimitedFormat{};

  qualifier_ = SettingList(this, IDC_FIELD_QUALIFIER, {QStringLiteral("\""), QStringLiteral("'")},
                           QStringLiteral("\""));
  fieldDelimiter_ = SettingList(this, IDC_FIELD_DELIMITER,
                                {QTextOf(PWH_TAB_ENTRY), QStringLiteral(";"), QStringLiteral(",")},
                                QStringLiteral(","));
  recordDelimiter_ = SettingList(this, IDC_RECORD_DELIMITER, {QTextOf(PWH_NEWLINE_ENTRY)},
                                 QTextOf(PWH_NEWLINE_ENTRY));
  intoPulldowns_ = new QCheckBox(QStringLiteral("&Import new field data into pulldowns"), this);
  intoPulldowns_->setObjectName(QString::number(IDC_IMPORT_INTO_PULLDOWNS));
  intoPulldowns_->setEnabled(mode != PWH_EXPORT_FORMAT);

  preview_ = new QLabel(this);
  preview_->setObjectName(QString::number(IDC_FORMAT_PREVIEW));
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
  TransferFormat.qualifier = ReadList(qualifier_);
  TransferFormat.fieldDelimiter = ReadList(fieldDelimiter_);
  TransferFormat.recordDelimiter = ReadList(recordDelimiter_);
  preview_->setText(QTextOf(FormatPreview(TransferFormat)));
}

void FormatDialog::accept() {
  ReadSettings();
  const std::u16string_view refusal = FormatRefusal(TransferFormat);
  if (!refusal.empty()) {
    MessageBoxW(this, refusal, u"Format Selection", MB_OK | MB_ICONINFORMATION);
    PwDialog::reject();
    return;
  }
  if (mode_ == PWH_IMPORT_FORMAT) ImportIntoPulldowns = intoPulldowns_->isChecked() ? 1 : 0;
  PwDialog::accept();
}

int OpenFormatDialog(HWND owner, int mode) {
  return RunModal(new FormatDialog(static_cast<QWidget*>(owner), mode)) == IDOK ? IDOK : IDCANCEL;
}

}  // namespace pw
