// Widgets that stand for a control or a dialog of the program's resources
// carry the resource identifier as the property "controlId"; their object
// name says what they are ("ClientBox", "NoteButton", "TimeEntryDialog").
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

class QWidget;

namespace pw {

inline constexpr char kControlIdProperty[] = "controlId";

// Names the widget and tags it with its identifier.
void NameControl(QObject* widget, int controlId, const QString& name);
// A name from a label: "Default &Time Record" and "Button" give
// "DefaultTimeRecordButton"; letters and digits are kept, each word
// capitalised.
QString NameFromLabel(const QString& label, const QString& kind);

// A label's text as a screen reader says it: "&&" is "&", a lone "&" (the
// mnemonic mark) goes.
QString WithoutMnemonic(const QString& label);
// Gives every field below root that a label is the buddy of the label's text
// (without the mnemonic) as its accessible name, whatever text it holds: an
// editable combo box and its line edit, and the fields inside a buddy that
// only groups them.
void NameFieldsByLabels(QWidget* root);
// Makes combo boxes made from now on give their accessible name (else their
// label's text) as their name, not their current text. Done once.
void InstallAccessibleNames();
// Names field (and its line edit, if any) like that after a label text.
void NameFieldAfter(QWidget* field, const QString& label);

// The widget of type T below parent that stands for controlId; null when none.
template <class T>
T* FindControl(const QObject* parent, int controlId) {
  for (T* widget : parent->findChildren<T*>())
    if (widget->property(kControlIdProperty) == QVariant(controlId)) return widget;
  return nullptr;
}

}  // namespace pw
