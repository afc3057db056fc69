#include "PlainTextEditor.h"

#include <QMimeData>
#include <QTextCursor>

void PlainTextEditor::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // As the standard paste does: plain characters in the caret's format,
    // as one step of the undo history.
    QTextCursor cursor = textCursor();
    cursor.insertText(source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}
