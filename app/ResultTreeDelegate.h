#pragma once
// Draws a result tree node on one line and measures and paints only as much
// of its text as a row can show: a match may be megabytes long and span many
// lines, and laying all of it out, or even converting all of it, on every
// measure and paint would stall the window.
#include <QStyledItemDelegate>

class ResultTreeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The most characters a row shows; the item keeps the whole text.
    static constexpr qsizetype ShownCharacters = 1000;

    // The text a row shows for a node text.
    static QString ShownText(QStringView text);

    // The base class walks the whole text to turn its line breaks into
    // line separators; only the shown part is looked at here.
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};
