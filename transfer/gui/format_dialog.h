// The "Format Configuration" dialog: field qualifier, field delimiter, record
// delimiter and, for imports, whether new field values join the pulldown lists,
// with a live preview of two sample records in the chosen framing.
#pragma once

#include "dialogs/gui/dialog_support.h"
#include "platform/types.h"
#include "transfer/delimited_format.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace pw {

// Control ids of the dialog.
enum : int {
  IDC_FIELD_QUALIFIER = 1037,
  IDC_FIELD_DELIMITER = 1038,
  IDC_FORMAT_PREVIEW = 1039,
  IDC_RECORD_DELIMITER = 1040,
  IDC_IMPORT_INTO_PULLDOWNS = 1041,
};

class FormatDialog final : public PwDialog {
  Q_OBJECT

 public:
  // mode: PWH_IMPORT_FORMAT or PWH_EXPORT_FORMAT. Edits settings: resets
  // its TransferFormat to the defaults.
  FormatDialog(QWidget* owner, TransferSettings& settings, int mode);

  // Refuses framing that cannot separate fields or records (after a message,
  // ending with 2); otherwise takes the check box into ImportIntoPulldowns
  // (import only) and ends with 1.
  void accept() override;

 private:
  // Reads the three lists back into TransferFormat and redraws the preview.
  void ReadSettings();

  TransferSettings& settings_;
  int mode_;
  QComboBox* qualifier_;
  QComboBox* fieldDelimiter_;
  QComboBox* recordDelimiter_;
  QCheckBox* intoPulldowns_;
  QLabel* preview_;
};

// Opens the dialog over owner to edit settings; 1 when the user left it with
// OK and the framing can be used, 2 otherwise.
int OpenFormatDialog(HWND owner, TransferSettings& settings, int mode);

}  // namespace pw
