#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// Small files written and read back by the settings tests.

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The bytes of a literal, NULs included.
template<qsizetype N>
QByteArray binary(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}
