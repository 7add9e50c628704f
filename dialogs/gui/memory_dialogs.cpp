#include "dialogs/gui/memory_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/gui/control_names.h"
#include "platform/host_port.h"
#include "platform/command_ids.h"

namespace pw {

namespace {

// The four lines after the program's name.
constexpr const char* kAboutDetails[] = {
    "Personal time and expense tracker",
    "Linux edition, built with Qt " QT_VERSION_STR,
    "Your records and settings stay on this computer",
    "in your own data and configuration folders.",
};

// A dialog whose cancel (Escape, the window's close button) ends it with 2.
class MemoryDialog final : public QDialog {
 public:
  using QDialog::QDialog;
  void reject() override { done(IDCANCEL); }
};

QString ToQString(const std::u16string& text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

QLabel* IconLabel(QWidget* parent) {
  auto* icon = new QLabel(parent);
  NameControl(icon, IDI_PROGRAM, QStringLiteral("ProgramIcon"));
  icon->setPixmap(ProgramIcon().pixmap(32, 32));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  return icon;
}

// The seven lines, in screen order, each label named by its control id.
QVBoxLayout* MemoryLineLabels(QWidget* parent, const MemoryLines& lines) {
  auto* column = new QVBoxLayout;
  column->setSpacing(2);
  for (const MemoryLine& line : lines) {
    auto* label = new QLabel(ToQString(line.text), parent);
    NameControl(label, line.controlId, QStringLiteral("MemoryLine%1").arg(&line - lines.data() + 1));
    column->addWidget(label);
  }
  return column;
}

int RunModal(QDialog* dialog) {
  QPointer<QDialog> guard(dialog);
  const int result = dialog->exec();
  delete guard.data();
  return result;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/101_16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/icons/101_32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/icons/101_48.png"), QSize(48, 48));
  return icon;
}

QPixmap StartupBanner() { return QPixmap(QStringLiteral(":/bitmaps/131.png")); }

QDialog* CreateAboutDialog(QWidget* owner, const MemoryLines& lines) {
  auto* dialog = new MemoryDialog(owner);
  NameControl(dialog, IDD_ABOUT, QStringLiteral("AboutDialog"));
  dialog->setWindowTitle(QStringLiteral("About Pennywhistle"));

  QStringList text{QString::fromLatin1(PWH_ABOUT_FIRST_LINE)};
  for (const char* line : kAboutDetails) text << QString::fromLatin1(line);
  auto* about = new QLabel(text.join('\n'), dialog);
  about->setObjectName(QStringLiteral("AboutText"));
  about->setTextFormat(Qt::PlainText);

  auto* right = new QVBoxLayout;
  right->addWidget(about);
  right->addSpacing(8);
  right->addLayout(MemoryLineLabels(dialog, lines));

  auto* body = new QHBoxLayout;
  body->addWidget(IconLabel(dialog));
  body->addSpacing(8);
  body->addLayout(right, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog] { dialog->done(IDOK); });

  auto* layout = new QVBoxLayout(dialog);
  layout->addLayout(body);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return dialog;
}

int ShowAboutDialog(HWND owner) {
  return RunModal(CreateAboutDialog(static_cast<QWidget*>(owner), CurrentMemoryLines()));
}

QDialog* CreateStartupDialog(QWidget* owner, const MemoryLines& lines) {
  auto* dialog = new MemoryDialog(owner, Qt::Dialog | Qt::FramelessWindowHint);
  NameControl(dialog, IDD_STARTUP, QStringLiteral("StartupDialog"));

  // Without a title bar the dialog draws its own edge.
  auto* frame = new QFrame(dialog);
  frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* outer = new QVBoxLayout(dialog);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  outer->addWidget(frame);

  auto* banner = new QLabel(frame);
  NameControl(banner, IDB_STARTUP_BANNER, QStringLiteral("StartupBanner"));
  banner->setPixmap(StartupBanner());
  banner->setAlignment(Qt::AlignCenter);

  auto* body = new QHBoxLayout;
  body->addWidget(IconLabel(frame));
  body->addSpacing(8);
  body->addLayout(MemoryLineLabels(frame, lines), 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  static constexpr struct {
    const char* text;
    int id;
  } kChoices[] = {{"&Time", IDC_STARTUP_TIME}, {"&Expense", IDC_STARTUP_EXPENSE}, {"E&xit", IDC_STARTUP_EXIT}};
  for (const auto& choice : kChoices) {
    auto* button = new QPushButton(QString::fromLatin1(choice.text), frame);
    NameControl(button, choice.id, NameFromLabel(button->text(), QStringLiteral("Button")));
    const int id = choice.id;
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, id] { dialog->done(id); });
    if (id == IDC_STARTUP_TIME) button->setDefault(true);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(banner);
  layout->addLayout(body);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  return dialog;
}

int ShowStartupDialog(HWND owner) {
  return RunModal(CreateStartupDialog(static_cast<QWidget*>(owner), CurrentMemoryLines()));
}

}  // namespace pw
