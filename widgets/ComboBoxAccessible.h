#pragma once
// What assistive technology reads of a selector (a combo box that is not
// editable): named by its accessible name, its value the chosen item's text,
// offered as read-only text. Qt 6.4 on Linux makes the chosen text the name
// and offers neither text nor a selection, where a screen reader takes a
// combo box's value from one of them; so it would say neither the name it
// was given nor, ever, the value.
#include <QAccessibleWidget>

class QComboBox;

class ComboBoxAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    ,
                           public QAccessibleAttributesInterface
#endif
{
public:
    explicit ComboBoxAccessible(QComboBox* box);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text which) const override;
    // The list it drops down, as in Qt's own reading.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // QAccessibleTextInterface: the chosen item's text, which cannot be edited.
    void selection(int index, int* start, int* end) const override;
    int selectionCount() const override;
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override;
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override;

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // QAccessibleAttributesInterface: the chosen item's text as the
    // "valuetext" object attribute, where Orca 48 reads a combo box's value
    // first (it would take the name where the list is not offered).
    QList<QAccessible::Attribute> attributeKeys() const override;
    QVariant attributeValue(QAccessible::Attribute key) const override;
#endif

private:
    QComboBox* Box() const;
};
