#pragma once
// Shared by the main window's widget tests: a fresh set of windows per test,
// shown and exposed, and small readers of what the user sees.
#include "Application.h"
#include "Main.h"
#include "Windows.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace fixture {

// Creates all six windows and shows the main window, as start-up does.
inline bool OpenWindows()
{
    PrepareApplication();
    CreateWindows();
    frmMain->show();
    return QTest::qWaitForWindowExposed(frmMain);
}

inline void CloseWindows()
{
    DestroyWindows();
}

inline int TopLevelNodes()
{
    return frmMain->TreeView1->topLevelItemCount();
}

inline QString NodeText(int index = 0)
{
    QTreeWidgetItem* item = frmMain->TreeView1->topLevelItem(index);
    return item ? item->text(0) : QString("<no node>");
}

inline QString ChildText(int index = 0)
{
    QTreeWidgetItem* item = frmMain->TreeView1->topLevelItem(index);
    return item && item->childCount() > 0 ? item->child(0)->text(0) : QString("<no child>");
}

// Types into an editor with key events, as a user does.
inline void Type(QPlainTextEdit* editor, const QString& text)
{
    editor->setFocus();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.unicode() < 0x80) {
            QTest::keyClick(editor, ch.toLatin1());
        } else {
            // Beyond ASCII a key press carries its character as text, both
            // halves of a character beyond the Basic Multilingual Plane.
            const qsizetype units = ch.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, text.mid(i, units), Qt::NoModifier);
            i += units - 1;
        }
    }
}

// Places the caret of an editor.
inline void SetCaret(QPlainTextEdit* editor, int position)
{
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(position);
    editor->setTextCursor(cursor);
}

// Waits for a modal window to come up while `action` runs, lets `inspect`
// look at it, then closes it (reject). Returns the modal window seen.
inline QWidget* WhileModal(const std::function<void()>& action,
                           const std::function<void(QWidget*)>& inspect = {})
{
    QWidget* seen = nullptr;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = modal;
        if (inspect)
            inspect(modal);
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

// Counts the evaluations that reached the engine: each trigger that gets past
// its empty-text checks clears the result tree once (and "no match" once more).
class TreeClears {
public:
    TreeClears()
    {
        QObject::connect(frmMain->TreeView1->model(), &QAbstractItemModel::modelReset, &context_,
                         [this] { ++count; });
    }
    int count = 0;

private:
    QObject context_;  // ends the connection with this counter
};

} // namespace fixture
