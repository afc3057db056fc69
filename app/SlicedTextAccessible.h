#pragma once
// What assistive technology reads of a sliced text view: a multi-line text
// with its caret, selection and characters, editable when the view is an
// editor. Qt's own text widgets offer the same through their accessibility
// plugin; a view of our own has to say it itself.
#include <QAccessibleWidget>

class SlicedTextView;

class SlicedTextAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit SlicedTextAccessible(SlicedTextView* view);
    // Makes Qt ask this class for every sliced text view; once is enough.
    static void Install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text which) const override;

    // QAccessibleTextInterface
    void selection(int index, int* start, int* end) const override;
    int selectionCount() const override;
    void addSelection(int start, int end) override;
    void removeSelection(int index) override;
    void setSelection(int index, int start, int end) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int start, int end) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int start, int end) override;
    QString attributes(int offset, int* start, int* end) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int start, int end) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int start, int end, const QString& text) override;

private:
    SlicedTextView* View() const;
};
