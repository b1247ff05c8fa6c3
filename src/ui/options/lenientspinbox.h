#pragma once

#include <QSpinBox>

// A spin box without bounds that, like a plain edit, also holds text that is no number; the
// confirmation turns such text into 0. It shows ASCII digits and also reads the locale's own.
class LenientSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit LenientSpinBox(QWidget *parent = nullptr);

    // The whole number the box holds; text that is no number counts as 0 and the box is reset
    // to "0".
    int takeValue();

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    QString textFromValue(int value) const override;
};
