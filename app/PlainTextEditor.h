#pragma once
// The main window's editors: a plain-text editor that pastes text in one
// insertion. The standard editor first builds a document fragment of the
// pasted text and then copies that into its own document, which doubles the
// cost of pasting megabytes.
#include <QPlainTextEdit>

class PlainTextEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};
