// Where the file dialogs start.
#pragma once

#include <QString>

namespace pw {

// The user's documents folder when it exists, else the home folder: never
// the program's working folder (a file dialog shown a folder that does not
// exist opens in the working folder).
QString DocumentsFolder();

}  // namespace pw
