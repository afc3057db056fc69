#pragma once
// What assistive technology reads of a sliced text view: a multi-line text
// with its caret, selection and characters, editable when the view is an
// editor. Qt's own text widgets offer the same through their accessibility
// plugin; a view of our own has to say it itself.
#include "TextSpan.h"

#include <QAccessibleWidget>
#include <QRectF>

#include <optional>

// What the accessible interface reads and does through a text view; a view
// that implements it (as a QWidget) is given the interface below.
class AccessibleTextSource {
public:
    virtual TextSpan text() const = 0;
    // The selection runs from the anchor to the caret.
    virtual qsizetype Anchor() const = 0;
    virtual qsizetype Caret() const = 0;
    virtual void Select(qsizetype anchor, qsizetype caret) = 0;
    virtual bool IsEditable() const = 0;
    // Replaces [from, to) with `text`; a view that cannot be edited refuses.
    virtual void Replace(qsizetype from, qsizetype to, const QString& text) = 0;
    // The widget the text is drawn in, and positions in it.
    virtual QWidget* TextArea() const = 0;
    virtual std::optional<QRectF> CaretRectangle(qsizetype position) const = 0;
    virtual qsizetype PositionAt(const QPoint& point) const = 0;
    virtual void ScrollToShow(qsizetype position) = 0;

protected:
    ~AccessibleTextSource() = default;
};

class SlicedTextAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    SlicedTextAccessible(QWidget* widget, AccessibleTextSource* source);
    // Makes Qt ask this class for every widget that is a text source; once is enough.
    static void Install();
    // Whether assistive technology listens, so that changes are worth
    // telling: the platform says so, or a listener in this process asked to
    // hear (a test, on a platform without a bridge to assistive technology).
    static bool Listening();
    using Listener = void (*)(QAccessibleEvent* event);
    static void ListenInProcess(Listener listener);
    // Tells the platform's bridge, and the listener in this process, of `event`.
    static void Tell(QAccessibleEvent& event);

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
    AccessibleTextSource* View() const { return source_; }

    AccessibleTextSource* source_;
};
