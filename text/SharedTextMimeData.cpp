#include "SharedTextMimeData.h"

#include <utility>

namespace {

// What QMimeData::text() asks for, first with the encoding named.
bool IsPlainText(const QString& type)
{
    return type == u"text/plain" || type == u"text/plain;charset=utf-8";
}

} // namespace

SharedTextMimeData::SharedTextMimeData(SharedSpan text) : text_(std::move(text)) {}

bool SharedTextMimeData::hasFormat(const QString& type) const
{
    return IsPlainText(type);
}

QStringList SharedTextMimeData::formats() const
{
    return {QStringLiteral("text/plain")};
}

QVariant SharedTextMimeData::retrieveData(const QString& type, QMetaType) const
{
    if (!IsPlainText(type))
        return {};
    return text_.Characters();
}
