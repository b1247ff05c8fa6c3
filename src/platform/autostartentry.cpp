#include "platform/autostartentry.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

namespace AutostartEntry {
namespace {

// One argument of an Exec key: quoted, with the quoting escapes, then "%" doubled so it is no
// field code, then the escapes every string value has (so a line break cannot start a new key).
QString execArgument(const QString &argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    quoted.replace(u'%', QStringLiteral("%%"));

    QString escaped;
    for (const QChar c : std::as_const(quoted)) {
        switch (c.unicode()) {
        case u'\\': escaped += QStringLiteral("\\\\"); break;
        case u'\n': escaped += QStringLiteral("\\n"); break;
        case u'\r': escaped += QStringLiteral("\\r"); break;
        case u'\t': escaped += QStringLiteral("\\t"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

} // namespace

QString defaultPath()
{
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return configHome.isEmpty() ? QString() : configHome + QStringLiteral("/autostart/tarvo.desktop");
}

QString text(const QString &executable, bool enabled)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Tarvo\n"
                          "Exec=%1\n"
                          "Hidden=%2\n")
        .arg(execArgument(executable), enabled ? QStringLiteral("false") : QStringLiteral("true"));
}

bool write(const QString &path, const QString &executable, bool enabled)
{
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text(executable, enabled).toUtf8());
    return file.commit();
}

} // namespace AutostartEntry
