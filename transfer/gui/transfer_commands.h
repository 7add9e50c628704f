// File > Export and File > Import: the format dialog, the desktop's file
// chooser starting in the documents folder, a progress dialog that can
// cancel, and the view refreshed after a record import.
#pragma once

#include <QString>

#include <functional>

#include "platform/types.h"
#include "shell/window_messages.h"

class QWidget;

namespace pw {

// Command handlers of the command table.
LRESULT OnExportDatabase(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnExportPulldowns(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnImportDatabase(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnImportPulldowns(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Chooses a file to write (save is true, startPath the default name in the
// documents folder) or to read (startPath the documents folder); empty when
// the user cancels. The desktop's file dialog unless a test replaces it.
using FileChooser = std::function<QString(QWidget* owner, bool save, const QString& startPath)>;
void SetFileChooser(FileChooser chooser);  // an empty chooser restores the file dialog

}  // namespace pw
