#include "transfer/gui/transfer_commands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QProgressDialog>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

#include "selection/selection.h"
#include "shell/globals.h"
#include "shell/gui/commands.h"
#include "transfer/delimited_format.h"
#include "transfer/export.h"
#include "transfer/gui/format_dialog.h"
#include "transfer/import.h"

namespace pw {
namespace {

FileChooser& Chooser() {
  static FileChooser chooser;
  return chooser;
}

QString ChooseFile(QWidget* owner, bool save, const QString& start) {
  if (Chooser()) return Chooser()(owner, save, start);
  const QString filter = QStringLiteral("All Documents (*.*)");
  return save ? QFileDialog::getSaveFileName(owner, QStringLiteral("Export"), start, filter)
              : QFileDialog::getOpenFileName(owner, QStringLiteral("Import"), start, filter);
}

QString DocumentsFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return folder.isEmpty() ? QDir::homePath() : folder;
}

QString DefaultExportPath(std::u16string_view name) {
  return DocumentsFolder() + QLatin1Char('/') +
         QString(reinterpret_cast<const QChar*>(name.data()), qsizetype(name.size()));
}

// A progress dialog with the count of lines, shown once a transfer has taken
// a moment; the transfer stops when the user cancels it.
class TransferProgressDialog {
 public:
  TransferProgressDialog(QWidget* owner, const QString& verb, int total)
      : owner_(owner), verb_(verb), total_(total) {
    clock_.start();
  }

  TransferProgress callback() {
    return [this](int lines) { return Report(lines); };
  }

 private:
  bool Report(int lines) {
    if (!dialog_ && clock_.elapsed() < 300) return true;
    if (!dialog_) {
      dialog_.emplace(QString(), QStringLiteral("Cancel"), 0, total_, owner_);
      dialog_->setWindowTitle(QStringLiteral("Pennywhistle"));
      dialog_->setWindowModality(Qt::WindowModal);
      dialog_->setMinimumDuration(0);
      dialog_->setAutoClose(false);
      dialog_->setAutoReset(false);
      dialog_->show();
    }
    dialog_->setLabelText(QStringLiteral("%1 %2 lines...").arg(verb_).arg(lines));
    if (total_ > 0) dialog_->setValue(std::min(lines, total_));
    QApplication::processEvents();
    return !dialog_->wasCanceled();
  }

  QWidget* owner_;
  QString verb_;
  int total_;  // 0: not known beforehand
  QElapsedTimer clock_;
  std::optional<QProgressDialog> dialog_;
};

int RecordsToExport() {
  if (RecordSetMode == PWH_ALL_REC_MODE) return int(DatabaseRecordCount(CurrentDatabase()));
  if (RecordSetMode == PWH_SELECT_REC_MODE) return int(DisplayedRecordList.count());
  return 0;
}

}  // namespace

void SetFileChooser(FileChooser chooser) { Chooser() = std::move(chooser); }

LRESULT OnExportDatabase(HWND window, UINT, WPARAM, LPARAM) {
  if (OpenFormatDialog(window, PWH_EXPORT_FORMAT) != 1) return 0;
  auto* owner = static_cast<QWidget*>(window);
  const QString path = ChooseFile(
      owner, true,
      DefaultExportPath(AppMode == PWH_EXPENSE_MODE ? PWH_EXPENSE_EXPORT_NAME : PWH_TIME_EXPORT_NAME));
  if (path.isEmpty()) return 0;
  TransferProgressDialog progress(owner, QStringLiteral("Exported"), RecordsToExport());
  ExportRecordsToFile(window, path.toStdString(), CurrentDatabase(), AppMode, progress.callback());
  return 0;
}

LRESULT OnExportPulldowns(HWND window, UINT, WPARAM, LPARAM) {
  if (OpenFormatDialog(window, PWH_EXPORT_FORMAT) != 1) return 0;
  auto* owner = static_cast<QWidget*>(window);
  const QString path = ChooseFile(owner, true, DefaultExportPath(PWH_PULLDOWN_EXPORT_NAME));
  if (path.isEmpty()) return 0;
  TransferProgressDialog progress(owner, QStringLiteral("Exported"),
                                  int(DatabaseRecordCount(ConfigDatabase)));
  ExportPulldownsToFile(window, path.toStdString(), ConfigDatabase, progress.callback());
  return 0;
}

LRESULT OnImportDatabase(HWND window, UINT, WPARAM, LPARAM) {
  if (OpenFormatDialog(window, PWH_IMPORT_FORMAT) != 1) return 0;
  auto* owner = static_cast<QWidget*>(window);
  const QString path = ChooseFile(owner, false, DocumentsFolder());
  if (!path.isEmpty()) {
    TransferProgressDialog progress(owner, QStringLiteral("Read"), 0);
    ImportRecordsFromFile(window, path.toStdString(), CurrentDatabase(), AppMode,
                          progress.callback());
  }
  RefreshView();
  return 0;
}

LRESULT OnImportPulldowns(HWND window, UINT, WPARAM, LPARAM) {
  if (OpenFormatDialog(window, PWH_IMPORT_FORMAT) != 1) return 0;
  auto* owner = static_cast<QWidget*>(window);
  const QString path = ChooseFile(owner, false, DocumentsFolder());
  if (path.isEmpty()) return 0;
  TransferProgressDialog progress(owner, QStringLiteral("Read"), 0);
  ImportPulldownsFromFile(window, path.toStdString(), progress.callback());
  return 0;
}

}  // namespace pw
