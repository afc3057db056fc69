#pragma once
// Plain text offered to other programs that is made only when one asks for
// it. It holds a piece of a shared text version, which nobody changes while
// it is shared, so the offer costs nothing however long the piece is, and
// what is pasted is the text as it was when offered, whatever happens to the
// view's text afterwards.
#include "TextSpan.h"

#include <QMimeData>

class SharedTextMimeData : public QMimeData {
public:
    explicit SharedTextMimeData(SharedSpan text);

    bool hasFormat(const QString& type) const override;
    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString& type, QMetaType preferred) const override;

private:
    SharedSpan text_;
};
