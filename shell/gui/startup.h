// Start-up, clean-up and the program's entry.
#pragma once

namespace pw {

// Makes and shows the main window, creates the configuration, opens the
// three databases, makes the date tabs, applies the selected tab, shows the
// List view of time records and sets the menu checks. False when the
// program must end (the reason has been shown). Whatever it made stays
// until CleanUp.
bool StartUp();

// Acts on the start-up dialog's answer: Expense switches to expense mode,
// Exit runs the Exit command; Time or a cancel leave things as they are.
void ApplyStartupChoice(int choice);

// Destroys the date tabs and the configuration (which stores it), closes the
// databases, destroys the views, the menu bar and the main window (which
// ends the event loop). Runs once per start-up, however the program ends.
void CleanUp();
// True once CleanUp has run (and before the first StartUp).
bool CleanedUp();

// The program: refuses a second instance (bringing the first one forward),
// starts up, shows the start-up dialog and runs the event loop. Returns 0.
int RunPennywhistle(int argc, char** argv);

}  // namespace pw
