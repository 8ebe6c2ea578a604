#include "platform/DesktopShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopShellOpener::open(const QString &url)
{
    // The URL is already encoded; take it as it stands.
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}
