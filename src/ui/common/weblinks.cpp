#include "ui/common/weblinks.h"

#include <QDesktopServices>

namespace WebLinks {
namespace {
Opener &currentOpener()
{
    static Opener opener;
    return opener;
}
} // namespace

// The addresses are build settings (see this folder's CMakeLists.txt).
QUrl makerSite() { return QUrl(QStringLiteral(TARVO_MAKER_URL)); }
QUrl softwareSite() { return QUrl(QStringLiteral(TARVO_SOFTWARE_URL)); }
QUrl productSite() { return QUrl(QStringLiteral(TARVO_PRODUCT_URL)); }

Opener setOpener(Opener opener)
{
    return std::exchange(currentOpener(), std::move(opener));
}

void open(const QUrl &url)
{
    if (const Opener &opener = currentOpener()) {
        opener(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

} // namespace WebLinks
