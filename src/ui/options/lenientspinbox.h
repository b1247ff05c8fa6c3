#pragma once

#include <QSpinBox>

// A spin box without bounds that, like a plain edit, also holds text that is no number; the
// confirmation refuses such text and names the box. It shows ASCII digits and also reads the locale's own.
class LenientSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit LenientSpinBox(QWidget *parent = nullptr);

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    QString textFromValue(int value) const override;
};
