#include "transfer/gui/transfer_commands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QProgressDialog>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

#include "platform/gui/folders.h"
#include "platform/gui/hwnd.h"
#include "transfer/delimited_format.h"
#include "transfer/export.h"
#include "transfer/gui/format_dialog.h"
#include "transfer/import.h"

namespace pw {
namespace {

QString ChooseFile(QWidget* owner, bool save, const QString& start) {
  const QString filter = QStringLiteral("All Documents (*.*)");
  return save ? QFileDialog::getSaveFileName(owner, QStringLiteral("Export"), start, filter)
              : QFileDialog::getOpenFileName(owner, QStringLiteral("Import"), start, filter);
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

int RecordsToExport(DatabaseHandle& db, const RecordSelection& selection) {
  if (selection.RecordSetMode == PWH_ALL_REC_MODE) return int(DatabaseRecordCount(db));
  if (selection.RecordSetMode == PWH_SELECT_REC_MODE) return int(selection.DisplayedRecordList.count());
  return 0;
}

TransferOptions OptionsOf(const TransferSettings& transfer, const Settings& settings) {
  return TransferOptions{transfer.TransferFormat, settings.europeanDates(), settings.europeanTimes(),
                         transfer.ImportIntoPulldowns == 1};
}

}  // namespace


void ExportRecordsCommand(HWND owner, RecordDatabases& databases, const RecordSelection& selection,
                          TransferSettings& transfer, const Settings& settings) {
  if (OpenFormatDialog(owner, transfer, PWH_EXPORT_FORMAT) != 1) return;
  QWidget* parent = FromHwnd(owner);
  const QString path = ChooseFile(
      parent, true,
      DefaultExportPath(databases.AppMode == PWH_EXPENSE_MODE ? PWH_EXPENSE_EXPORT_NAME : PWH_TIME_EXPORT_NAME));
  if (path.isEmpty()) return;
  DatabaseHandle& db = databases.CurrentDatabase();
  TransferProgressDialog progress(parent, QStringLiteral("Exported"), RecordsToExport(db, selection));
  ExportRecordsToFile(owner, path.toStdString(), db, databases.AppMode, selection.RecordSetMode,
                      selection.DisplayedRecordList, OptionsOf(transfer, settings), progress.callback());
}

void ExportPulldownsCommand(HWND owner, DatabaseHandle& configDb, TransferSettings& transfer,
                            const Settings& settings) {
  if (OpenFormatDialog(owner, transfer, PWH_EXPORT_FORMAT) != 1) return;
  QWidget* parent = FromHwnd(owner);
  const QString path = ChooseFile(parent, true, DefaultExportPath(PWH_PULLDOWN_EXPORT_NAME));
  if (path.isEmpty()) return;
  TransferProgressDialog progress(parent, QStringLiteral("Exported"), int(DatabaseRecordCount(configDb)));
  ExportPulldownsToFile(owner, path.toStdString(), configDb, OptionsOf(transfer, settings), progress.callback());
}

void ImportRecordsCommand(HWND owner, RecordDatabases& databases, RecordSelection& selection,
                          TransferSettings& transfer, const Settings& settings, ViewPort& views,
                          std::vector<CEOID>* added) {
  if (OpenFormatDialog(owner, transfer, PWH_IMPORT_FORMAT) != 1) return;
  QWidget* parent = FromHwnd(owner);
  const QString path = ChooseFile(parent, false, DocumentsFolder());
  if (!path.isEmpty()) {
    TransferProgressDialog progress(parent, QStringLiteral("Read"), 0);
    ImportRecordsFromFile(owner, path.toStdString(), databases.CurrentDatabase(), databases.AppMode,
                          databases.ConfigDatabase, OptionsOf(transfer, settings), progress.callback(), added);
  }
  RefreshView(selection, databases, views);
}

void ImportPulldownsCommand(HWND owner, DatabaseHandle& configDb, TransferSettings& transfer,
                            const Settings& settings) {
  if (OpenFormatDialog(owner, transfer, PWH_IMPORT_FORMAT) != 1) return;
  QWidget* parent = FromHwnd(owner);
  const QString path = ChooseFile(parent, false, DocumentsFolder());
  if (path.isEmpty()) return;
  TransferProgressDialog progress(parent, QStringLiteral("Read"), 0);
  ImportPulldownsFromFile(owner, path.toStdString(), configDb, OptionsOf(transfer, settings), progress.callback());
}

}  // namespace pw
