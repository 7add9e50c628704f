// The main window: menu bar with its four popups, four tool buttons, the
// date tabs above the view area and the three-part status line. Its menu
// items, tool buttons, tabs and views hand what the user does to the
// program's commands.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>

#include <array>
#include <map>

#include "platform/command_ids.h"
#include "platform/types.h"

class QAction;
class QLabel;
class QMenu;
class QModelIndex;
class QTabBar;
class QToolBar;
class QVBoxLayout;

namespace pw {

class Program;
class QuickFilterField;

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
  // Makes the menu bar, the tool buttons and the status line; what they
  // start runs in program.
  explicit PwMainWindow(Program& program);
  ~PwMainWindow() override;

  // The popup of a menu bar button (IDM_MENU_FILE ...), null when none.
  QMenu* menuBarPopup(UINT buttonId) const;
  // The menu item of a command, null when none.
  QAction* menuAction(UINT commandId) const;
  // Every menu item, by command identifier.
  const std::map<UINT, QAction*>& menuActions() const { return menuItems_; }
  // The tool buttons in their order.
  const std::array<QAction*, 4>& toolButtons() const { return toolButtons_; }
  // The quick filter field of the tool bar; null after DestroyMenuBar.
  QuickFilterField* quickFilter() const { return filter_; }
  // Highlights the quick filter field while the records shown are narrowed.
  void ShowNarrowing();
  // A status part (0 to 2, PWH_STATUS_TOTALS or PWH_STATUS_TIMER), null when there is none.
  QLabel* statusPart(int part) const;
  // The date tabs, null before CreateDateTabs and after DestroyDateTabs.
  QTabBar* dateTabs() const { return tabs_; }
  QWidget* viewArea() const { return viewArea_; }
  QToolBar* toolBar() const { return toolBar_; }

  // The five date tabs above the view area, "Today" selected; false when
  // they could not be made.
  bool CreateDateTabs();
  void DestroyDateTabs();
  void DestroyMenuBar();
  // Hides the window, says it is going (destroying) and deletes it later.
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

 signals:
  // The window is being destroyed: the program ends.
  void destroying();

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
  void OnTabClicked(int index);
  void OnRowActivated(const QModelIndex& index);
  void OnTreeItemActivated(const QModelIndex& index);
  void OnRowStateChanged();
  void PaintMixedCardIfShown();

  Program& program_;
  std::map<UINT, QMenu*> popups_;
  std::map<UINT, QAction*> menuItems_;
  std::array<QAction*, 4> toolButtons_{};
  QToolBar* toolBar_ = nullptr;
  std::array<QLabel*, 3> statusParts_{};
  QLabel* timerPart_ = nullptr;
  QLabel* totalsPart_ = nullptr;
  QuickFilterField* filter_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QWidget* viewArea_ = nullptr;
  QVBoxLayout* layout_ = nullptr;
  bool destroyed_ = false;
  bool framed_ = false;  // the frame's size was known when the window was fitted
  QElapsedTimer statusPainted_;  // since the status line was last painted at once
  struct RowState {
    const void* selection = nullptr;
    int row = -1;
    bool selected = false;
  } lastRowState_;
};

}  // namespace pw
