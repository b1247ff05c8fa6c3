#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the commands' option readers share, so that a mistake names the argument it is about.

// Why the option at arguments[at] has no value: none follows, or the next argument is an option
// itself ("--..."), which it would otherwise swallow. Nothing when it has one.
inline std::optional<QString> valueMissing(const QStringList &arguments, qsizetype at)
{
    if (at + 1 >= arguments.size())
        return QStringLiteral("option %1 needs a value").arg(arguments[at]);
    if (arguments[at + 1].startsWith(QLatin1String("--")))
        return QStringLiteral("option %1 needs a value, not the option %2").arg(arguments[at], arguments[at + 1]);
    return std::nullopt;
}

// The option that last took a value, and the value it took; empty while none did.
struct TakenValue {
    QString option;
    QString value;
};

// "no `what` given"; when an option took a value, that value may have been the one meant, so the
// message names both.
inline QString nothingGiven(const QString &what, const TakenValue &last)
{
    const QString message = QStringLiteral("no %1 given").arg(what);
    if (last.option.isEmpty())
        return message;
    return message + QStringLiteral(" (%1 took \"%2\" as its value)").arg(last.option, last.value);
}
