#include "platform/gui/control_names.h"

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

}  // namespace pw
