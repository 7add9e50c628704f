#include "platform/gui/control_names.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace pw {

void NameControl(QObject* widget, int controlId, const QString& name) {
  widget->setObjectName(name);
  widget->setProperty(kControlIdProperty, controlId);
}

QString NameFromLabel(const QString& label, const QString& kind) {
  QString name;
  bool wordStart = true;
  for (const QChar c : label) {
    if (!c.isLetterOrNumber()) {
      // "&" marks the mnemonic inside a word; anything else ends the word.
      if (c != u'&') wordStart = true;
      continue;
    }
    name += wordStart ? c.toUpper() : c;
    wordStart = false;
  }
  return name + kind;
}

QString WithoutMnemonic(const QString& label) {
  QString text;
  for (qsizetype i = 0; i < label.size(); ++i) {
    if (label[i] == u'&' && i + 1 < label.size()) ++i;  // "&x" is x, "&&" is "&"
    text += label[i];
  }
  return text;
}

namespace {

// Qt's interface of a combo box on Linux gives its current text as its
// name. Ours gives its accessible name (else its label's text) as its name,
// its text as its value, and opens its list by the show-menu action.
class NamedComboBoxAccessible final : public QAccessibleWidget {
 public:
  explicit NamedComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return box()->currentText();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override { return QAccessibleWidget::actionNames() << showMenuAction(); }
  void doAction(const QString& name) override {
    if (name == showMenuAction())
      box()->showPopup();
    else
      QAccessibleWidget::doAction(name);
  }

 private:
  QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* NamedComboBoxFactory(const QString& className, QObject* object) {
  auto* box = qobject_cast<QComboBox*>(object);
  if (className != QLatin1String("QComboBox") || !box) return nullptr;
  return new NamedComboBoxAccessible(box);
}

}  // namespace

void InstallAccessibleNames() {
  static const bool installed = (QAccessible::installFactory(NamedComboBoxFactory), true);
  (void)installed;
}

void NameFieldAfter(QWidget* field, const QString& label) {
  InstallAccessibleNames();
  const QString name = WithoutMnemonic(label);
  field->setAccessibleName(name);
  if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit()) box->lineEdit()->setAccessibleName(name);
}

void NameFieldsByLabels(QWidget* root) {
  for (QLabel* label : root->findChildren<QLabel*>()) {
    QWidget* field = label->buddy();
    if (!field || label->text().isEmpty()) continue;
    NameFieldAfter(field, label->text());
    // A buddy that only groups fields (a comparison beside its value) names them.
    if (!field->focusPolicy()) {
      for (QComboBox* box : field->findChildren<QComboBox*>()) NameFieldAfter(box, label->text());
      for (QLineEdit* edit : field->findChildren<QLineEdit*>())
        if (edit->accessibleName().isEmpty()) NameFieldAfter(edit, label->text());
    }
  }
}

}  // namespace pw
