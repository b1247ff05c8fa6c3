#include "translations/languages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace Languages {

QString install(QCoreApplication &application, const QLocale &locale)
{
    auto *own = new QTranslator(&application);
    if (!own->load(locale, QStringLiteral("tarvo"), QStringLiteral("_"), QStringLiteral(":/translations"))) {
        delete own;
        return {};
    }
    QCoreApplication::installTranslator(own);
    // Qt's buttons follow the program's language, never one the program does not speak.
    auto *qt = new QTranslator(&application);
    if (qt->load(QLocale(own->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return own->language();
}

} // namespace Languages
