#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace Languages {

// Installs the program's translation for the first of the locale's languages that has one, and
// Qt's own translation of that language (standard buttons) when the system has it. Returns the
// language installed ("de", "es"), or an empty text when the program stays in English.
QString install(QCoreApplication &application, const QLocale &locale = QLocale::system());

} // namespace Languages
