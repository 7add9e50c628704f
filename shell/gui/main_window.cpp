#include "shell/gui/main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QChildEvent>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include "selection/selection.h"
#include "shell/globals.h"
#include "shell/gui/commands.h"
#include "shell/gui/qt_host.h"
#include "views/gui/list_view.h"
#include "views/gui/mixed_view.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/tree_view.h"

namespace pw {

bool QuitPosted = false;
OtherViewHooks OtherViews{RecreateCurrentTreeView, PaintMixedCard, ClearMixedCard};

namespace {

QPointer<PwMainWindow> currentWindow;

// Menu bar 101: the four popups and their items. An item's submenu path
// ("New", "Mark/Selected") is made when its first item is added; a null
// text is a separator. "&" marks the letter that picks an item with the
// keyboard (Alt+letter on the bar); it is not shown.
struct MenuPopupResource {
  UINT buttonId;
  const char* text;
};

struct MenuItemResource {
  UINT popup;
  const char* submenu;
  const char* text;
  UINT commandId;
  bool checkable;
  bool greyed;
};

constexpr MenuPopupResource kMenuPopups[] = {
    {IDM_MENU_FILE, "&File"}, {IDM_MENU_EDIT, "&Edit"}, {IDM_MENU_VIEW, "&View"}, {IDM_MENU_MODE, "&Mode"}};

constexpr MenuItemResource kMenuItems[] = {
    {IDM_MENU_FILE, "&New", "&Record", IDM_NEW_RECORD, false, false},
    {IDM_MENU_FILE, "&New", "&Subsequent Record", IDM_NEW_SUBSEQUENT_RECORD, false, false},
    {IDM_MENU_FILE, "&Import", "PWH &Database", IDM_IMPORT_DATABASE, false, false},
    {IDM_MENU_FILE, "&Import", "PWH &Pulldowns", IDM_IMPORT_PULLDOWNS, false, false},
    {IDM_MENU_FILE, "&Export", "PWH &Database", IDM_EXPORT_DATABASE, false, false},
    {IDM_MENU_FILE, "&Export", "PWH &Pulldowns", IDM_EXPORT_PULLDOWNS, false, false},
    {IDM_MENU_FILE, "&Save", "&Report", IDM_SAVE_REPORT, false, true},
    {IDM_MENU_FILE, "", nullptr, 0, false, false},
    {IDM_MENU_FILE, "", "&About", IDM_ABOUT, false, false},
    {IDM_MENU_FILE, "", "E&xit", IDM_EXIT, false, false},

    {IDM_MENU_EDIT, "", "&Copy", IDM_COPY, false, false},
    {IDM_MENU_EDIT, "", "&Properties", IDM_PROPERTIES, false, false},
    {IDM_MENU_EDIT, "&Delete", "&Selected", IDM_DELETE_SELECTED, false, false},
    {IDM_MENU_EDIT, "&Delete", "&Multiple", IDM_DELETE_MULTIPLE, false, false},
    {IDM_MENU_EDIT, "&Mark/&Selected", "&Billed", IDM_MARK_SELECTED_BILLED, false, false},
    {IDM_MENU_EDIT, "&Mark/&Selected", "&Reimbursed", IDM_MARK_SELECTED_REIMBURSED, false, true},
    {IDM_MENU_EDIT, "&Mark/&Multiple", "&Billed", IDM_MARK_MULTIPLE_BILLED, false, false},
    {IDM_MENU_EDIT, "&Mark/&Multiple", "&Reimbursed", IDM_MARK_MULTIPLE_REIMBURSED, false, true},
    {IDM_MENU_EDIT, "", nullptr, 0, false, false},
    {IDM_MENU_EDIT, "", "&Find...", IDM_FIND, false, false},
    {IDM_MENU_EDIT, "", nullptr, 0, false, false},
    {IDM_MENU_EDIT, "C&onfiguration", "&Application", IDM_APPLICATION_CONFIG, false, false},
    {IDM_MENU_EDIT, "C&onfiguration", "&Columns", IDM_COLUMNS, false, false},
    {IDM_MENU_EDIT, "C&onfiguration", "&Pulldowns", IDM_PULLDOWNS, false, false},

    {IDM_MENU_VIEW, "", "&List", IDM_VIEW_LIST, true, false},
    {IDM_MENU_VIEW, "", "&Tree", IDM_VIEW_TREE, true, false},
    {IDM_MENU_VIEW, "", "&Mixed", IDM_VIEW_MIXED, true, false},
    {IDM_MENU_VIEW, "", "&Report", IDM_VIEW_REPORT, true, false},
    {IDM_MENU_VIEW, "", nullptr, 0, false, false},
    {IDM_MENU_VIEW, "", "&Expand/Collapse Tree", IDM_EXPAND_COLLAPSE_TREE, false, true},

    {IDM_MENU_MODE, "", "&Time", IDM_MODE_TIME, true, false},
    {IDM_MENU_MODE, "", "&Expense", IDM_MODE_EXPENSE, true, false},
};

// The keys of the menu commands, shown in the menus; the first is shown.
// Enter on a row is Properties. Commands that do nothing yet keep theirs.
struct MenuShortcut {
  UINT commandId;
  QKeyCombination keys[3];
};

constexpr MenuShortcut kMenuShortcuts[] = {
    {IDM_NEW_RECORD, {Qt::CTRL | Qt::Key_N}},
    {IDM_NEW_SUBSEQUENT_RECORD, {Qt::CTRL | Qt::SHIFT | Qt::Key_N}},
    {IDM_PROPERTIES, {QKeyCombination(Qt::Key_Enter), QKeyCombination(Qt::Key_Return), Qt::ALT | Qt::Key_Return}},
    {IDM_COPY, {Qt::CTRL | Qt::Key_D}},
    {IDM_DELETE_SELECTED, {QKeyCombination(Qt::Key_Delete)}},
    {IDM_FIND, {Qt::CTRL | Qt::Key_F}},
    {IDM_EXIT, {Qt::CTRL | Qt::Key_Q}},
    {IDM_ABOUT, {QKeyCombination(Qt::Key_F1)}},
    {IDM_MODE_TIME, {Qt::CTRL | Qt::Key_1}},
    {IDM_MODE_EXPENSE, {Qt::CTRL | Qt::Key_2}},
    {IDM_VIEW_LIST, {Qt::CTRL | Qt::Key_L}},
    {IDM_VIEW_TREE, {Qt::CTRL | Qt::Key_T}},
    {IDM_VIEW_MIXED, {Qt::CTRL | Qt::Key_M}},
    {IDM_VIEW_REPORT, {Qt::CTRL | Qt::Key_R}},
};

// The tool buttons, in their order: the icon theme's picture, else the
// style's standard picture closest to it (the copy picture is our own).
struct ToolButtonResource {
  const char* themeIcon;
  QStyle::StandardPixmap picture;
  const char* ownPicture;
  const char* tip;
  UINT commandId;
};

constexpr ToolButtonResource kToolButtons[] = {
    {"document-new", QStyle::SP_FileIcon, nullptr, "New Record", IDM_NEW_RECORD},
    {"edit-copy", QStyle::SP_CustomBase, ":/icons/copy_16.png", "Copy", IDM_COPY},
    {"edit-delete", QStyle::SP_TrashIcon, nullptr, "Delete Selected", IDM_DELETE_SELECTED},
    {"edit-find", QStyle::SP_FileDialogContentsView, nullptr, "Find", IDM_FIND},
};

constexpr const char* kDateTabLabels[] = {"Today", "7 days", "14 days", "Month", "All"};

PwMainWindow* WindowOf(HWND window) {
  return qobject_cast<PwMainWindow*>(FromHwnd(window));
}

// --- The message table ------------------------------------------------------

LRESULT OnDestroyMessage(HWND, UINT, WPARAM, LPARAM) {
  QuitPosted = true;
  // Ends the running event loop. Before the loop runs, QuitPosted keeps it
  // from starting: exit() would also make every later dialog return at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
  return 0;
}

LRESULT OnNotifyMessage(HWND window, UINT, WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (!header) return 0;
  PwMainWindow* w = WindowOf(window);
  switch (header->code) {
    case TCN_SELCHANGE:
      if (w && w->dateTabs() && w->dateTabs()->currentIndex() != ActiveDateTab) OnDateTabChanged();
      break;
    case LVN_ITEMACTIVATE:
      // Activating a row edits its record.
      WindowProc(window, WM_COMMAND, IDM_PROPERTIES, 0);
      break;
    case LVN_ITEMCHANGED: {
      const auto* item = reinterpret_cast<const NMLISTVIEW*>(lParam);
      if (MixedListWindow && item->uNewState == (LVIS_SELECTED | LVIS_FOCUSED) && OtherViews.paintMixedCard)
        OtherViews.paintMixedCard();
      break;
    }
    case RBN_HEIGHTCHANGE:
      // menuBar() would make a bar where there is none: ask for the one there is.
      if (w && w->menuWidget()) w->Invalidate();
      break;
    default:
      break;
  }
  return 0;
}

LRESULT OnCreateMessage(HWND window, UINT, WPARAM, LPARAM) {
  PwMainWindow* w = WindowOf(window);
  return w ? w->OnCreate() : 0;
}

LRESULT OnPaintMessage(HWND, UINT, WPARAM, LPARAM) {
  if (MixedListWindow && OtherViews.paintMixedCard) OtherViews.paintMixedCard();
  return 0;
}

struct MessageEntry {
  UINT message;
  LRESULT (*handler)(HWND, UINT, WPARAM, LPARAM);
};

constexpr MessageEntry kMessageTable[] = {
    {WM_DESTROY, OnDestroyMessage},
    {WM_NOTIFY, OnNotifyMessage},
    {WM_CREATE, OnCreateMessage},
    {WM_PAINT, OnPaintMessage},
};

}  // namespace

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const MessageEntry& entry : kMessageTable)
    if (entry.message == message) return entry.handler(window, message, wParam, lParam);
  if (message == WM_COMMAND) return DispatchCommand(window, wParam, lParam);
  return 0;
}

LRESULT SendCommand(UINT commandId) { return WindowProc(MainWindow, WM_COMMAND, commandId, 0); }

PwMainWindow* MainWindowWidget() { return currentWindow.data(); }

QMenu* GetMenuBarPopup(UINT buttonId) {
  PwMainWindow* window = MainWindowWidget();
  return window ? window->menuBarPopup(buttonId) : nullptr;
}

// --- The window -------------------------------------------------------------

PwMainWindow::PwMainWindow() {
  setObjectName(QString::fromUtf16(PWH_WINDOW_CLASS));
  setWindowTitle(QString::fromUtf16(PWH_WINDOW_CLASS));
  currentWindow = this;

  // The client area: the date tabs (once made) above the view area.
  auto* client = new QWidget(this);
  layout_ = new QVBoxLayout(client);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  viewArea_ = new QWidget(client);
  viewArea_->setObjectName(QStringLiteral("ViewArea"));
  QPalette white = viewArea_->palette();
  white.setColor(QPalette::Window, Qt::white);
  viewArea_->setPalette(white);
  viewArea_->setAutoFillBackground(true);
  viewArea_->installEventFilter(this);
  layout_->addWidget(viewArea_, 1);
  setCentralWidget(client);
  ViewArea = viewArea_;

  WindowProc(ToHwnd(this), WM_CREATE, 0, 0);
}

PwMainWindow::~PwMainWindow() {
  // Views left in the view area go with it; their slots must not dangle.
  if (ListViewWindow || MixedListWindow || TreeViewWindow || ReportListWindow) DestroyCurrentView();
  if (ViewArea == viewArea_) ViewArea = nullptr;
  if (MainWindow == ToHwnd(this)) MainWindow = nullptr;
}

LRESULT PwMainWindow::OnCreate() {
  BuildMenuBar();
  BuildToolButtons();
  BuildStatusLine();
  return 0;
}

void PwMainWindow::BuildMenuBar() {
  QMenuBar* bar = menuBar();
  std::map<QString, QMenu*> submenus;
  for (const MenuPopupResource& popup : kMenuPopups) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(popup.text));
    menu->menuAction()->setData(popup.buttonId);
    popups_[popup.buttonId] = menu;
  }
  for (const MenuItemResource& item : kMenuItems) {
    QMenu* menu = popups_[item.popup];
    QString path = QString::number(item.popup);
    for (const QString& name : QString::fromLatin1(item.submenu).split('/', Qt::SkipEmptyParts)) {
      path += '/' + name;
      QMenu*& sub = submenus[path];
      if (!sub) sub = menu->addMenu(name);
      menu = sub;
    }
    if (!item.text) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromLatin1(item.text));
    action->setData(item.commandId);
    action->setCheckable(item.checkable);
    action->setEnabled(!item.greyed);
    connect(action, &QAction::triggered, this, [action](bool checked) {
      // Checks follow the program's state, not the click: undo Qt's toggle.
      if (action->isCheckable()) action->setChecked(!checked);
      SendCommand(action->data().toUInt());
    });
    menuItems_[item.commandId] = action;
  }
  for (const MenuShortcut& shortcut : kMenuShortcuts) {
    QList<QKeySequence> keys;
    for (QKeyCombination key : shortcut.keys)
      if (key.key() != Qt::Key_unknown) keys << QKeySequence(key);
    if (QAction* action = menuAction(shortcut.commandId)) action->setShortcuts(keys);
  }
  // Menu items are reached by their letters once the bar is open: F10 opens it.
  auto* openBar = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(openBar, &QShortcut::activated, this, [this] {
    if (QMenu* first = menuBarPopup(IDM_MENU_FILE)) menuBar()->setActiveAction(first->menuAction());
  });
}

void PwMainWindow::BuildToolButtons() {
  toolBar_ = addToolBar(QStringLiteral("Tools"));
  toolBar_->setObjectName(QStringLiteral("ToolButtons"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(16, 16));
  // The tools stay: no menu to hide them (see createPopupMenu).
  toolBar_->toggleViewAction()->setVisible(false);
  for (std::size_t i = 0; i < std::size(kToolButtons); ++i) {
    const ToolButtonResource& button = kToolButtons[i];
    const QIcon fallback = button.ownPicture ? QIcon(QString::fromLatin1(button.ownPicture))
                                             : style()->standardIcon(button.picture);
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(button.themeIcon), fallback);
    QAction* action = toolBar_->addAction(icon, QString::fromLatin1(button.tip));
    action->setData(button.commandId);
    connect(action, &QAction::triggered, this, [action] { SendCommand(action->data().toUInt()); });
    toolButtons_[i] = action;
  }
}

void PwMainWindow::BuildStatusLine() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(fontMetrics().height() + 8);
  static const char* const initial[] = {"Time", "idle", "0"};
  for (std::size_t i = 0; i < statusParts_.size(); ++i) {
    auto* part = new QLabel(QString::fromLatin1(initial[i]), bar);
    part->setObjectName(QStringLiteral("StatusPart%1").arg(i));
    part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    part->setIndent(3);
    statusParts_[i] = part;
  }
  LayOutStatusParts();
}

void PwMainWindow::LayOutStatusParts() {
  // The parts sit at fixed places, right edges at 55, 200 and 239 pixels at
  // the default font; a part whose text needs more room is widened.
  int left = 0, designLeft = 0;
  for (std::size_t i = 0; i < statusParts_.size(); ++i) {
    QLabel* part = statusParts_[i];
    if (!part) return;
    const int designWidth = ScaledPixels(PWH_STATUS_PART_EDGES[i] - designLeft);
    const int needed = part->fontMetrics().horizontalAdvance(part->text()) +
                       2 * (part->frameWidth() + part->indent() + part->margin());
    const int width = std::max(designWidth, needed);
    part->setGeometry(left, 0, width, statusBar()->height());
    left += width;
    designLeft = PWH_STATUS_PART_EDGES[i];
  }
}

void PwMainWindow::SetStatusPartText(int part, const QString& text) {
  QLabel* label = statusPart(part);
  if (!label) return;
  label->setText(text);
  LayOutStatusParts();
  // Painted now: a lengthy step may follow without returning to the event loop.
  statusBar()->repaint();
}

int PwMainWindow::ScaledPixels(int pixels) const {
  const int height = fontMetrics().height();
  if (height <= PWH_DESIGN_FONT_HEIGHT) return pixels;
  return (pixels * height + PWH_DESIGN_FONT_HEIGHT - 1) / PWH_DESIGN_FONT_HEIGHT;
}

void PwMainWindow::FitToScreen() {
  QScreen* shown = screen();
  if (!shown) return;
  const QRect desktop = shown->availableGeometry();
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  framed_ = !frame.isNull();
  resize(desktop.width() - frame.left() - frame.right(),
         desktop.height() - PWH_INPUT_PANEL_ALLOWANCE - frame.top() - frame.bottom());
  // A window's position is its frame's.
  if (framed_) move(desktop.topLeft());
}

void PwMainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // The window manager frames a new window after it is shown: fit it again
  // once, now that the frame's size is known.
  if (!framed_ && windowHandle() && !windowHandle()->frameMargins().isNull()) FitToScreen();
}

void PwMainWindow::ShowNow() {
  show();
  // Under a window server the window can be painted once it is mapped.
  QElapsedTimer waited;
  waited.start();
  while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    QThread::msleep(5);
  }
  repaint();
}

bool PwMainWindow::CreateDateTabs() {
  if (tabs_) return true;
  tabs_ = new QTabBar(centralWidget());
  tabs_->setObjectName(QStringLiteral("DateTabs"));
  tabs_->setExpanding(false);
  tabs_->setFixedHeight(ScaledPixels(PWH_DATE_TAB_HEIGHT));
  for (const char* label : kDateTabLabels) {
    if (tabs_->addTab(QString::fromLatin1(label)) < 0) {
      DestroyDateTabs();
      return false;
    }
  }
  tabs_->setCurrentIndex(0);
  layout_->insertWidget(0, tabs_);
  connect(tabs_, &QTabBar::currentChanged, this, &PwMainWindow::OnTabChanged);
  // Ctrl+PgUp / Ctrl+PgDown step through the tabs, round from the last to the first.
  for (const auto& [key, step] : {std::pair{Qt::Key_PageUp, -1}, std::pair{Qt::Key_PageDown, 1}}) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), tabs_);
    connect(shortcut, &QShortcut::activated, this, [this, step] { StepDateTab(step); });
  }
  tabs_->show();
  return true;
}

void PwMainWindow::StepDateTab(int step) {
  if (!tabs_ || tabs_->count() == 0) return;
  tabs_->setCurrentIndex((tabs_->currentIndex() + step + tabs_->count()) % tabs_->count());
}

void PwMainWindow::DestroyDateTabs() {
  delete tabs_;
  tabs_ = nullptr;
}

void PwMainWindow::DestroyMenuBar() {
  menuItems_.clear();
  popups_.clear();
  toolButtons_ = {};
  if (QWidget* bar = menuWidget()) {
    setMenuWidget(nullptr);
    delete bar;
  }
  delete toolBar_;
  toolBar_ = nullptr;
}

void PwMainWindow::DestroyWindow() {
  if (destroyed_) return;
  destroyed_ = true;
  hide();
  if (currentWindow == this) currentWindow = nullptr;
  WindowProc(ToHwnd(this), WM_DESTROY, 0, 0);
  deleteLater();
}

void PwMainWindow::Invalidate() {
  // The view area is the client area that WM_PAINT draws on; the views in
  // it are windows of their own and repaint themselves.
  update();
  viewArea_->update();
}

void PwMainWindow::BringToFront() {
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

QMenu* PwMainWindow::menuBarPopup(UINT buttonId) const {
  const auto found = popups_.find(buttonId);
  return found == popups_.end() ? nullptr : found->second;
}

QAction* PwMainWindow::menuAction(UINT commandId) const {
  const auto found = menuItems_.find(commandId);
  return found == menuItems_.end() ? nullptr : found->second;
}

QLabel* PwMainWindow::statusPart(int part) const {
  return part >= 0 && part < int(statusParts_.size()) ? statusParts_[std::size_t(part)] : nullptr;
}

void PwMainWindow::closeEvent(QCloseEvent* event) {
  // The window ends only through Exit, which stores everything first.
  event->ignore();
  if (!destroyed_) WindowProc(ToHwnd(this), WM_COMMAND, IDM_EXIT, 0);
}

bool PwMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewArea_) {
    if (event->type() == QEvent::Paint)
      WindowProc(ToHwnd(this), WM_PAINT, 0, 0);
    else if (event->type() == QEvent::ChildPolished)
      WatchView(static_cast<QChildEvent*>(event)->child());
  }
  return QMainWindow::eventFilter(watched, event);
}

void PwMainWindow::WatchView(QObject* child) {
  // Enter or a double click on a record leaf of the tree edits its record.
  if (auto* tree = qobject_cast<TreeNodeView*>(child)) {
    connect(tree, &QAbstractItemView::activated, this, &PwMainWindow::OnTreeItemActivated, Qt::UniqueConnection);
    return;
  }
  // Lists made in the view area report row activation and row changes to
  // the window procedure, as the list control's notifications would.
  auto* list = qobject_cast<QTableView*>(child);
  if (!list) return;
  connect(list, &QAbstractItemView::activated, this, &PwMainWindow::OnRowActivated, Qt::UniqueConnection);
  if (QItemSelectionModel* selection = list->selectionModel()) {
    connect(selection, &QItemSelectionModel::currentRowChanged, this, &PwMainWindow::OnRowStateChanged,
            Qt::UniqueConnection);
    connect(selection, &QItemSelectionModel::selectionChanged, this, &PwMainWindow::OnRowStateChanged,
            Qt::UniqueConnection);
  }
}

void PwMainWindow::OnTabChanged(int) { Notify(tabs_, TCN_SELCHANGE); }

void PwMainWindow::OnRowActivated(const QModelIndex& index) { Notify(sender(), LVN_ITEMACTIVATE, index.row()); }

void PwMainWindow::OnTreeItemActivated(const QModelIndex& index) {
  // A group node only opens and closes.
  if (index.data(TreeNodeModel::BranchRole).toInt() == TreeNodeModel::Leaf)
    WindowProc(ToHwnd(this), WM_COMMAND, IDM_PROPERTIES, 0);
}

void PwMainWindow::OnRowStateChanged() {
  // The current row's state: focused, and selected. A list reports each
  // change of it once, however many signals the change took.
  auto* selection = qobject_cast<QItemSelectionModel*>(sender());
  if (!selection) return;
  const QModelIndex current = selection->currentIndex();
  UINT state = 0;
  if (current.isValid()) {
    state |= LVIS_FOCUSED;
    if (selection->isRowSelected(current.row(), current.parent())) state |= LVIS_SELECTED;
  }
  const RowState now{selection, current.row(), state};
  if (now.selection == lastRowState_.selection && now.row == lastRowState_.row && now.state == lastRowState_.state)
    return;
  lastRowState_ = now;
  Notify(selection, LVN_ITEMCHANGED, current.row(), state);
}

void PwMainWindow::Notify(void* from, int code, int row, UINT newState) {
  NMLISTVIEW message;
  message.hdr.hwndFrom = from;
  message.hdr.code = code;
  message.iItem = row;
  message.uNewState = newState;
  WindowProc(ToHwnd(this), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace pw
