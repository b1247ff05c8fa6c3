#pragma once

#include "meter/providerfigure.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QDoubleSpinBox;

// "Set bucket from provider...": the provider's remaining allowance in MB or %, or the bucket
// level in MB, as the user reads it off the provider's meter. Reports the figure at "OK".
class ProviderBucketDialog : public QDialog
{
    Q_OBJECT

public:
    // Starts at the allowance Tarvo counts as left, so "OK" without a figure changes little.
    explicit ProviderBucketDialog(int64_t tarvoRemainingBytes, QWidget *parent = nullptr);

    // The figure the boxes hold, in bytes or percent.
    ProviderFigure figure() const;

Q_SIGNALS:
    void figureChosen(const ProviderFigure &figure);

private:
    void showKind();

    QComboBox *m_kindCombo = nullptr;
    QDoubleSpinBox *m_valueSpin = nullptr;
};
