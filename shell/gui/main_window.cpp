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

#include "platform/host_port.h"
#include "selection/selection.h"
#include "shell/gui/program.h"
#include "shell/gui/quick_filter_field.h"
#include "views/gui/list_view.h"
#include "views/gui/mixed_view.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/tree_view.h"

namespace pw {

namespace {

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
    {IDM_MENU_FILE, "", "Start &Timer", IDM_START_TIMER, false, false},
    {IDM_MENU_FILE, "", "Sto&p Timer", IDM_STOP_TIMER, false, true},
    {IDM_MENU_FILE, "", "Stop an&d Start Next", IDM_STOP_AND_START_NEXT, false, true},
    {IDM_MENU_FILE, "", nullptr, 0, false, false},
    {IDM_MENU_FILE, "&Import", "PWH &Database", IDM_IMPORT_DATABASE, false, false},
    {IDM_MENU_FILE, "&Import", "PWH &Pulldowns", IDM_IMPORT_PULLDOWNS, false, false},
    {IDM_MENU_FILE, "&Export", "PWH &Database", IDM_EXPORT_DATABASE, false, false},
    {IDM_MENU_FILE, "&Export", "PWH &Pulldowns", IDM_EXPORT_PULLDOWNS, false, false},
    {IDM_MENU_FILE, "&Save", "&Report", IDM_SAVE_REPORT, false, true},
    {IDM_MENU_FILE, "&Save", "Report as &PDF...", IDM_SAVE_REPORT_PDF, false, true},
    {IDM_MENU_FILE, "", "P&rint Report...", IDM_PRINT_REPORT, false, true},
    {IDM_MENU_FILE, "", nullptr, 0, false, false},
    {IDM_MENU_FILE, "", "&About", IDM_ABOUT, false, false},
    {IDM_MENU_FILE, "", "E&xit", IDM_EXIT, false, false},

    {IDM_MENU_EDIT, "", "&Undo", IDM_UNDO, false, true},
    {IDM_MENU_EDIT, "", "&Redo", IDM_REDO, false, true},
    {IDM_MENU_EDIT, "", nullptr, 0, false, false},
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
    {IDM_START_TIMER, {Qt::CTRL | Qt::SHIFT | Qt::Key_T}},
    {IDM_STOP_TIMER, {Qt::CTRL | Qt::SHIFT | Qt::Key_P}},
    {IDM_STOP_AND_START_NEXT, {Qt::CTRL | Qt::SHIFT | Qt::Key_D}},
    {IDM_PROPERTIES, {QKeyCombination(Qt::Key_Enter), QKeyCombination(Qt::Key_Return), Qt::ALT | Qt::Key_Return}},
    {IDM_COPY, {Qt::CTRL | Qt::Key_D}},
    {IDM_UNDO, {Qt::CTRL | Qt::Key_Z}},
    {IDM_REDO, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}},
    {IDM_DELETE_SELECTED, {QKeyCombination(Qt::Key_Delete)}},
    {IDM_FIND, {Qt::CTRL | Qt::Key_F}},
    {IDM_PRINT_REPORT, {Qt::CTRL | Qt::Key_P}},
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

}  // namespace

// --- The window -------------------------------------------------------------

PwMainWindow::PwMainWindow(Program& program) : program_(program) {
  setObjectName(QString::fromUtf16(PWH_WINDOW_CLASS));
  setWindowTitle(QString::fromUtf16(PWH_WINDOW_CLASS));

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

  BuildMenuBar();
  BuildToolButtons();
  BuildStatusLine();
}

PwMainWindow::~PwMainWindow() {
  // Views left in the view area go with it; their slots must not dangle.
  AppState& state = program_.state();
  if (state.ListViewWindow || state.MixedListWindow || state.TreeViewWindow || state.ReportListWindow)
    DestroyCurrentView(state);
  if (state.ViewArea == ToHwnd(viewArea_)) state.ViewArea = nullptr;
  if (state.MainWindow == ToHwnd(this)) state.MainWindow = nullptr;
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
    connect(action, &QAction::triggered, this, [this, action](bool checked) {
      // Checks follow the program's state, not the click: undo Qt's toggle.
      if (action->isCheckable()) action->setChecked(!checked);
      program_.Run(action->data().toUInt());
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
    connect(action, &QAction::triggered, this, [this, action] { program_.Run(action->data().toUInt()); });
    toolButtons_[i] = action;
  }
  filter_ = AddQuickFilter(program_, this, toolBar_);
}

void PwMainWindow::BuildStatusLine() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(fontMetrics().height() + 8);
  static const char* const initial[] = {"Time", "idle", "0"};
  for (std::size_t i = 0; i < statusParts_.size(); ++i) {
    auto* part = new QLabel(QString::fromLatin1(initial[i]), bar);
    static const char* const names[] = {"ModeStatus", "ActivityStatus", "RecordCountStatus"};
    part->setObjectName(QString::fromLatin1(names[i]));
    part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    part->setIndent(3);
    statusParts_[i] = part;
  }
  totalsPart_ = AddTotalsPart(bar);
  timerPart_ = new QLabel(bar);
  timerPart_->setObjectName(QStringLiteral("TimerStatus"));
  timerPart_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  timerPart_->setIndent(3);
  bar->addPermanentWidget(timerPart_);
  timerPart_->hide();
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
  if (part == PWH_STATUS_TIMER) {
    // The running timer's part sits at the right end, shown only while one runs.
    timerPart_->setText(text);
    timerPart_->setVisible(!text.isEmpty());
    return;
  }
  QLabel* label = statusPart(part);
  if (!label) return;
  label->setText(text);
  LayOutStatusParts();
  // Painted now when the line was not painted for 100 ms: a lengthy step may
  // follow without returning to the event loop. The later texts of a short
  // command are painted with the rest of the window: a repaint paints every
  // part of the window that changed, a new view too, and would paint it twice.
  if (!statusPainted_.isValid() || statusPainted_.elapsed() >= 100) {
    statusBar()->repaint();
    statusPainted_.start();
  } else {
    statusBar()->update();
  }
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
  // Choosing the tab that is already lit ends a Find result.
  connect(tabs_, &QTabBar::tabBarClicked, this, &PwMainWindow::OnTabClicked);
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
  filter_ = nullptr;
  delete toolBar_;
  toolBar_ = nullptr;
}

void PwMainWindow::DestroyWindow() {
  if (destroyed_) return;
  destroyed_ = true;
  hide();
  emit destroying();
  deleteLater();
}

void PwMainWindow::Invalidate() {
  // The view area is the client area the Mixed card is drawn on; the views
  // in it are windows of their own and repaint themselves.
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
  if (part == PWH_STATUS_TIMER) return timerPart_;
  if (part == PWH_STATUS_TOTALS) return totalsPart_;
  return part >= 0 && part < int(statusParts_.size()) ? statusParts_[std::size_t(part)] : nullptr;
}

void PwMainWindow::closeEvent(QCloseEvent* event) {
  // The window ends only through Exit, which stores everything first.
  event->ignore();
  if (!destroyed_) program_.Run(IDM_EXIT);
}

bool PwMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewArea_) {
    if (event->type() == QEvent::Paint)
      PaintMixedCardIfShown();
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
  // Lists made in the view area: activating a row edits its record; a new
  // current row of the Mixed view's list shows its card.
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

void PwMainWindow::OnTabChanged(int index) {
  if (index != program_.state().ActiveDateTab) program_.commands().DateTabChanged();
  ShowNarrowing();
}

void PwMainWindow::OnTabClicked(int index) {
  if (!tabs_ || index != tabs_->currentIndex() || !program_.state().FindResult) return;
  program_.commands().DateTabChanged();
  ShowNarrowing();
}

void PwMainWindow::ShowNarrowing() {
  if (filter_) filter_->ShowNarrowing();
}

void PwMainWindow::OnRowActivated(const QModelIndex&) { program_.Run(IDM_PROPERTIES); }

void PwMainWindow::OnTreeItemActivated(const QModelIndex& index) {
  // A group node only opens and closes.
  if (index.data(TreeNodeModel::BranchRole).toInt() == TreeNodeModel::Leaf) program_.Run(IDM_PROPERTIES);
}

void PwMainWindow::OnRowStateChanged() {
  // The card follows the current row once it is focused and selected. A
  // list reports each change of it once, however many signals it took.
  auto* selection = qobject_cast<QItemSelectionModel*>(sender());
  if (!selection) return;
  const QModelIndex current = selection->currentIndex();
  const bool selected = current.isValid() && selection->isRowSelected(current.row(), current.parent());
  const RowState now{selection, current.row(), selected};
  if (now.selection == lastRowState_.selection && now.row == lastRowState_.row && now.selected == lastRowState_.selected)
    return;
  lastRowState_ = now;
  if (selected) PaintMixedCardIfShown();
}

void PwMainWindow::PaintMixedCardIfShown() {
  if (program_.state().MixedListWindow) PaintMixedCard(program_.state());
}

}  // namespace pw
