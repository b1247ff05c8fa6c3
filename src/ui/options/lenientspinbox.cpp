#include "ui/options/lenientspinbox.h"

#include "settings/optionvalues.h"

#include <QLineEdit>

#include <limits>

LenientSpinBox::LenientSpinBox(QWidget *parent)
    : QSpinBox(parent)
{
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

QValidator::State LenientSpinBox::validate(QString &, int &) const
{
    return QValidator::Acceptable;
}

int LenientSpinBox::valueFromText(const QString &text) const
{
    return parseWholeNumber(text).value_or(0);
}

QString LenientSpinBox::textFromValue(int value) const
{
    // ASCII digits under every locale, as the boxes beside it show them.
    return QString::number(value);
}
