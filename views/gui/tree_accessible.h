// What screen readers learn of the tree control (TreeNodeView): a tree whose
// rows are tree items, each with its label, its level ("level 1" at the top,
// as its description) and whether it is a group, open or closed (the
// expandable, expanded and collapsed states), and the actions that open and
// close it. Qt's own interface for a list view would call it a flat list.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace pw {

// The accessibility factory for TreeNodeView (QAccessible::installFactory);
// null for any other class.
QAccessibleInterface* TreeAccessibleFactory(const QString& className, QObject* object);

// Installs the factory once per process.
void InstallTreeAccessibility();

}  // namespace pw
