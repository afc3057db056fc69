#include "ResultTreeDelegate.h"

#include "TextSpan.h"

QString ResultTreeDelegate::ShownText(QStringView text)
{
    QString shown = text.left(ShownCharacters).toString();
    // A row is one line: line breaks show as a return symbol.
    shown.replace(u'\n', QChar(0x21B5));
    shown.replace(u'\r', QChar(0x21B5));
    return shown;
}

QString ResultTreeDelegate::displayText(const QVariant& value, const QLocale& locale) const
{
    if (value.userType() == QMetaType::QString)
        return ShownText(value.toString());
    if (value.userType() == QMetaType::fromType<SharedSpan>().id())
        return ShownText(value.value<SharedSpan>().Span().mid(0, ShownCharacters).toString());
    return ShownText(QStyledItemDelegate::displayText(value, locale));
}
