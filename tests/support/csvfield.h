#pragma once

#include <QByteArray>
#include <QList>

// A field of a CSV line by its column name in the header.
inline QByteArray field(const QByteArray &header, const QByteArray &line, const char *column)
{
    return line.split(',').value(header.split(',').indexOf(QByteArray(column)));
}
