#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

// A list of UTF-8 texts as a QStringList, for the rows of a test's table.
inline QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}
