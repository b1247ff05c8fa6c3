#include "ui/monitor/providerbucketdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>

#include <cmath>
#include <limits>

namespace {
// Megabytes as the options' boxes count them.
constexpr double mb = 1048576.0;
} // namespace

ProviderBucketDialog::ProviderBucketDialog(int64_t tarvoRemainingBytes, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("providerBucketDialog"));
    setWindowTitle(tr("Set bucket from provider"));
    auto *layout = new QFormLayout(this);
    auto *note = new QLabel(tr("Type the figure your provider's meter shows; Tarvo's bucket takes it at once."));
    note->setWordWrap(true);
    layout->addRow(note);
    m_kindCombo = new QComboBox;
    m_kindCombo->setObjectName(QStringLiteral("providerFigureKindCombo"));
    m_kindCombo->addItem(tr("Remaining allowance in MB"), int(ProviderFigure::Kind::RemainingBytes));
    m_kindCombo->addItem(tr("Remaining allowance in %"), int(ProviderFigure::Kind::RemainingPercent));
    m_kindCombo->addItem(tr("Bucket level in MB"), int(ProviderFigure::Kind::LevelBytes));
    layout->addRow(tr("The provider shows"), m_kindCombo);
    m_valueSpin = new QDoubleSpinBox;
    m_valueSpin->setObjectName(QStringLiteral("providerFigureSpin"));
    m_valueSpin->setDecimals(2);
    layout->addRow(tr("Figure"), m_valueSpin);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("providerBucketButtons"));
    layout->addRow(buttons);

    connect(m_kindCombo, &QComboBox::currentIndexChanged, this, &ProviderBucketDialog::showKind);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Q_EMIT figureChosen(figure());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showKind();
    m_valueSpin->setValue(double(tarvoRemainingBytes) / mb);
}

void ProviderBucketDialog::showKind()
{
    // The bucket holds at most 2^31 - 1 bytes.
    const bool percent = figure().kind == ProviderFigure::Kind::RemainingPercent;
    m_valueSpin->setRange(0, percent ? 100.0 : std::floor(std::numeric_limits<int32_t>::max() / mb * 100) / 100);
    m_valueSpin->setSuffix(percent ? QStringLiteral(" %") : QStringLiteral(" MB"));
}

ProviderFigure ProviderBucketDialog::figure() const
{
    const auto kind = ProviderFigure::Kind(m_kindCombo->currentData().toInt());
    const double value = m_valueSpin->value();
    return {kind, kind == ProviderFigure::Kind::RemainingPercent ? value : value * mb};
}
