#include "platform/gui/control_names.h"

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

void NameFieldAfter(QWidget* field, const QString& label) {
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
