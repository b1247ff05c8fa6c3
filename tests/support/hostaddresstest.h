#pragma once

#include "meter/hostaddress.h"

#include <QMetaType>
#include <QTest>

// A host address as a column of a test table, printed in its usual text when a comparison fails.
Q_DECLARE_METATYPE(HostAddress)

inline char *toString(const HostAddress &address)
{
    return qstrdup(qPrintable(address.toString()));
}
