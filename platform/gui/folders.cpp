#include "platform/gui/folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pw {

QString DocumentsFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  return QDir::homePath();
}

}  // namespace pw
