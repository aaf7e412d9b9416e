#pragma once
// Finding a control below a panel through the accessibility tree, as a screen reader or a test
// robot would: by its accessible name.

#include <QAccessible>
#include <QString>

namespace qrix::test {

inline QAccessibleInterface* findAccessible(QAccessibleInterface* under, const QString& name) {
  for (int i = 0; i < under->childCount(); ++i) {
    QAccessibleInterface* child = under->child(i);
    if (!child) continue;
    if (child->text(QAccessible::Name) == name) return child;
    if (QAccessibleInterface* deeper = findAccessible(child, name)) return deeper;
  }
  return nullptr;
}

}  // namespace qrix::test
