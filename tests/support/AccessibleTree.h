#pragma once
// Walks a window's accessibility tree (Qt's QAccessible interfaces, what a
// screen reader is given) and names every interactive control that has no
// accessible name. Lists and tables are checked with their column headings,
// not their rows; menus with their items.
//
//     EXPECT_EQ(unnamedInteractiveControls(&window), std::vector<std::string>{});

#include <QAccessible>
#include <QAccessibleInterface>
#include <QWidget>

#include <string>
#include <vector>

namespace tessaly {

inline bool isInteractiveRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::ButtonDropDown:
    case QAccessible::ButtonMenu:
    case QAccessible::CheckBox:
    case QAccessible::ComboBox:
    case QAccessible::Dial:
    case QAccessible::EditableText:
    case QAccessible::HotkeyField:
    case QAccessible::Link:
    case QAccessible::List:
    case QAccessible::MenuItem:
    case QAccessible::PageTab:
    case QAccessible::RadioButton:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::ColumnHeader:
        return true;
    default:
        return false;
    }
}

namespace detail {

inline std::string describe(QAccessibleInterface* node)
{
    std::string what = "role " + std::to_string(static_cast<int>(node->role()));
    if (QObject* object = node->object()) {
        what += std::string(" ") + object->metaObject()->className();
        if (!object->objectName().isEmpty())
            what += " " + object->objectName().toStdString();
    }
    const QString text = node->text(QAccessible::Description);
    if (!text.isEmpty())
        what += " \"" + text.toStdString() + "\"";
    return what;
}

inline bool isItemContainer(QAccessible::Role role)
{
    return role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree;
}

// A field or list that takes no focus is a frame or a picture to the user,
// not a control: no keyboard reaches it and it answers no click.
inline bool isInert(QAccessibleInterface* node)
{
    const QAccessible::Role role = node->role();
    if (!isItemContainer(role) && role != QAccessible::EditableText)
        return false;
    const auto* widget = qobject_cast<const QWidget*>(node->object());
    return widget != nullptr && widget->focusPolicy() == Qt::NoFocus;
}

inline void collectUnnamed(QAccessibleInterface* node, std::vector<std::string>& unnamed, int depth)
{
    if (node == nullptr || !node->isValid() || depth > 64)
        return;
    const QAccessible::Role role = node->role();
    // Separators in menus are not controls.
    if (role == QAccessible::Separator || isInert(node))
        return;
    if (isInteractiveRole(role) && node->text(QAccessible::Name).trimmed().isEmpty())
        unnamed.push_back(describe(node));
    if (isItemContainer(role)) {
        // The rows are data; the column headings are what names them.
        if (QAccessibleTableInterface* table = node->tableInterface()) {
            for (int column = 0; column < table->columnCount(); ++column)
                if (table->columnDescription(column).trimmed().isEmpty())
                    unnamed.push_back(describe(node) + " column " + std::to_string(column));
        }
        return;
    }
    if (role == QAccessible::ScrollBar)
        return;   // part of the list or text it scrolls
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), unnamed, depth + 1);
}

} // namespace detail

// Each interactive control under the window without a name, described by
// its role number, class, object name (control ids: "control1006") and
// description; empty when every one has a name.
inline std::vector<std::string> unnamedInteractiveControls(QWidget* window)
{
    std::vector<std::string> unnamed;
    detail::collectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed, 0);
    return unnamed;
}

// The column headings of a list view as a screen reader is given them.
inline std::vector<std::string> accessibleColumnHeadings(QWidget* list)
{
    std::vector<std::string> headings;
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(list);
    if (node == nullptr || node->tableInterface() == nullptr)
        return headings;
    QAccessibleTableInterface* table = node->tableInterface();
    for (int column = 0; column < table->columnCount(); ++column)
        headings.push_back(table->columnDescription(column).toStdString());
    return headings;
}

} // namespace tessaly
