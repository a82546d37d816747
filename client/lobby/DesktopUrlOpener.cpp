#include "client/lobby/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace tessaly {

bool DesktopUrlOpener::openUrl(const std::string& address)
{
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace tessaly
