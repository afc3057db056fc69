#include "WebLinks.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace WebLinks {

void Open(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace WebLinks
