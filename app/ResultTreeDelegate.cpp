#include "ResultTreeDelegate.h"

QString ResultTreeDelegate::ShownText(const QString& text)
{
    QString shown = text.left(ShownCharacters);
    // A row is one line: line breaks show as a return symbol.
    shown.replace(u'\n', QChar(0x21B5));
    shown.replace(u'\r', QChar(0x21B5));
    return shown;
}

void ResultTreeDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = ShownText(option->text);
}
