#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// What the commands' option readers share, so that a mistake names the argument it is about.

// Why the option at arguments[at] has no value: none follows, or the next argument is an option
// itself ("--..."), which it would otherwise swallow. Nothing when it has one.
inline std::optional<QString> valueMissing(const QStringList &arguments, qsizetype at)
{
    if (at + 1 >= arguments.size())
        return QCoreApplication::translate("tarvo-cli", "option %1 needs a value").arg(arguments[at]);
    if (arguments[at + 1].startsWith(QLatin1String("--")))
        return QCoreApplication::translate("tarvo-cli", "option %1 needs a value, not the option %2").arg(arguments[at], arguments[at + 1]);
    return std::nullopt;
}

// The option that last took a value, and the value it took; empty while none did.
struct TakenValue {
    QString option;
    QString value;
};

// The message that an argument is missing ("no size given"); when an option took a value, that
// value may have been the one meant, so the message names both.
inline QString nothingGiven(const QString &message, const TakenValue &last)
{
    if (last.option.isEmpty())
        return message;
    return QCoreApplication::translate("tarvo-cli", "%1 (%2 took \"%3\" as its value)").arg(message, last.option, last.value);
}
