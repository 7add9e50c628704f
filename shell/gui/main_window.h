// The main window: menu bar with its four popups, four tool buttons, the
// date tabs above the view area, the three-part status line, and the window
// procedure that routes its messages and commands.
#pragma once

#include <QMainWindow>

#include <array>
#include <map>

#include "platform/types.h"
#include "shell/window_messages.h"

class QAction;
class QLabel;
class QMenu;
class QModelIndex;
class QTabBar;
class QToolBar;
class QVBoxLayout;

namespace pw {

// Right edges of the status parts (mode, activity, record count), in pixels.
inline constexpr std::array<int, 3> PWH_STATUS_PART_EDGES = {55, 200, 239};
inline constexpr int PWH_DATE_TAB_HEIGHT = 24;
// Height kept free below the window for the on-screen keyboard.
inline constexpr int PWH_INPUT_PANEL_ALLOWANCE = 26;
// The pixel sizes above hold for a font of this height (the default desktop
// font); a taller font scales them.
inline constexpr int PWH_DESIGN_FONT_HEIGHT = 15;

class PwMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Creating the window sends it WM_CREATE, which makes the menu bar, the
  // tool buttons and the status line.
  PwMainWindow();
  ~PwMainWindow() override;

  // The popup of a menu bar button (IDM_MENU_FILE ...), null when none.
  QMenu* menuBarPopup(UINT buttonId) const;
  // The menu item of a command, null when none.
  QAction* menuAction(UINT commandId) const;
  // Every menu item, by command identifier.
  const std::map<UINT, QAction*>& menuActions() const { return menuItems_; }
  // The tool buttons in their order.
  const std::array<QAction*, 4>& toolButtons() const { return toolButtons_; }
  // A status part (0 to 2), null when there is none.
  QLabel* statusPart(int part) const;
  // The date tabs, null before CreateDateTabs and after DestroyDateTabs.
  QTabBar* dateTabs() const { return tabs_; }
  QWidget* viewArea() const { return viewArea_; }

  // WM_CREATE: menu bar, tool buttons, status line ("Time", "idle", "0").
  LRESULT OnCreate();
  // The five date tabs above the view area, "Today" selected; false when
  // they could not be made.
  bool CreateDateTabs();
  void DestroyDateTabs();
  void DestroyMenuBar();
  // Hides the window, sends it WM_DESTROY and deletes it later. After this
  // MainWindowWidget() is null.
  void DestroyWindow();
  // Invalidates the whole window: it is repainted.
  void Invalidate();
  // Brings the window to the front, un-minimised.
  void BringToFront();
  // Sizes the whole window, frame and title bar included, to the width of
  // the screen's available area and its height less the input panel's
  // allowance. Done again once the window manager has framed the window.
  void FitToScreen();
  // Shows the window and paints it at once, before start-up goes on.
  void ShowNow();
  // Sets a status part's text, widening the part when the text needs it,
  // and paints it at once.
  void SetStatusPartText(int part, const QString& text);
  // A design pixel size at the window's font: unchanged at the default font,
  // grown with the font's height when the desktop font is larger.
  int ScaledPixels(int pixels) const;

 protected:
  // The title-bar close button is the Exit command.
  void closeEvent(QCloseEvent* event) override;
  // No menu to hide the tools: right-clicking the bars shows nothing.
  QMenu* createPopupMenu() override { return nullptr; }
  void moveEvent(QMoveEvent* event) override;
  // The view area: paints and the views appearing in it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenuBar();
  void BuildToolButtons();
  void BuildStatusLine();
  void WatchView(QObject* view);
  void LayOutStatusParts();
  void StepDateTab(int step);
  void OnTabChanged(int index);
  void OnRowActivated(const QModelIndex& index);
  void OnRowStateChanged();
  void Notify(void* from, int code, int row = -1, UINT newState = 0);

  std::map<UINT, QMenu*> popups_;
  std::map<UINT, QAction*> menuItems_;
  std::array<QAction*, 4> toolButtons_{};
  QToolBar* toolBar_ = nullptr;
  std::array<QLabel*, 3> statusParts_{};
  QTabBar* tabs_ = nullptr;
  QWidget* viewArea_ = nullptr;
  QVBoxLayout* layout_ = nullptr;
  bool destroyed_ = false;
  bool framed_ = false;  // the frame's size was known when the window was fitted
  struct RowState {
    const void* selection = nullptr;
    int row = -1;
    UINT state = 0;
  } lastRowState_;
};

// The main window; null before it is made and after it is destroyed.
PwMainWindow* MainWindowWidget();

// The window procedure: WM_DESTROY, WM_NOTIFY, WM_CREATE and WM_PAINT through
// the message table, WM_COMMAND through the command table; 0 for the rest.
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sends the main window a command, as a menu item or tool button does.
LRESULT SendCommand(UINT commandId);

// The popup of a menu bar button, null without a menu bar.
QMenu* GetMenuBarPopup(UINT buttonId);

// Set when WM_DESTROY has asked the event loop to end; the loop is then not
// entered (or left at once).
extern bool QuitPosted;

// What the Tree and Mixed views supply once they exist; null until then.
struct OtherViewHooks {
  bool (*recreateTreeView)() = nullptr;  // re-creates the tree from the current database
  void (*paintMixedCard)() = nullptr;    // paints the card of the selected record
  void (*clearMixedCard)() = nullptr;    // draws an empty card
};
extern OtherViewHooks OtherViews;

}  // namespace pw
