// Gives the test process its own data, configuration and runtime folders, so
// that no test touches the user's files and tests do not see each other.
#pragma once

#include <string>

namespace pw::test {

// Creates a fresh folder and points XDG_DATA_HOME, XDG_CONFIG_HOME,
// XDG_RUNTIME_DIR and HOME at folders inside it. Called once by the test main.
void UseTemporaryHome();
// The folder made by UseTemporaryHome.
const std::string& TemporaryHome();
// A new empty folder inside it for one test: "<home>/<name>-<n>".
std::string NewTestFolder(const std::string& name);
// Removes it (at the end of the run).
void RemoveTemporaryHome();

}  // namespace pw::test
