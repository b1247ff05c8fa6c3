#include "ui/programs/programswindow.h"

#include "meter/formats.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { ProgramColumn, DownloadColumn, UploadColumn, ShareColumn };
constexpr int sortRole = Qt::UserRole;

// Sorts the figures by their numbers, not their texts.
class ProgramItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : ProgramColumn;
        if (column == ProgramColumn)
            return QString::localeAwareCompare(text(column), other.text(column)) < 0;
        return data(column, sortRole).toDouble() < other.data(column, sortRole).toDouble();
    }
};

QIcon iconOf(const ProgramInfo &program)
{
    const QIcon fallback = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    if (program.icon.isEmpty())
        return fallback;
    if (program.icon.startsWith(u'/'))
        return QIcon(program.icon);
    return QIcon::fromTheme(program.icon, fallback);
}

} // namespace

ProgramsWindow::ProgramsWindow(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("programsWindow"));
    setWindowTitle(tr("Programs"));
    m_periodBox = new QComboBox(this);
    m_periodBox->setObjectName(QStringLiteral("periodBox"));
    m_periodBox->addItem(tr("This minute"), int(ProgramPeriod::LastMinute));
    m_periodBox->addItem(tr("Today"), int(ProgramPeriod::Today));
    m_periodBox->addItem(tr("Since the bucket was last empty"), int(ProgramPeriod::SinceEmpty));
    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("programTable"));
    m_table->setRootIsDecorated(false);
    m_table->setHeaderLabels({tr("Program"), tr("Download (bytes)"), tr("Upload (bytes)"), tr("Share of download")});
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(DownloadColumn, Qt::DescendingOrder);
    m_table->header()->setSectionResizeMode(ProgramColumn, QHeaderView::Stretch);
    m_table->header()->setStretchLastSection(false);

    auto *periodRow = new QHBoxLayout;
    auto *periodLabel = new QLabel(tr("Period:"), this);
    periodLabel->setBuddy(m_periodBox);
    periodRow->addWidget(periodLabel);
    periodRow->addWidget(m_periodBox);
    periodRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(periodRow);
    layout->addWidget(m_table);
    resize(560, 360);

    connect(m_periodBox, &QComboBox::currentIndexChanged, this, &ProgramsWindow::showRows);
}

ProgramPeriod ProgramsWindow::period() const
{
    return ProgramPeriod(m_periodBox->currentData().toInt());
}

void ProgramsWindow::follow(const ProgramUsage *usage)
{
    m_usage = usage;
    showRows();
}

void ProgramsWindow::showRows()
{
    m_table->clear();
    if (!m_usage)
        return;
    const QList<ProgramBytes> rows = m_usage->rows(period());
    const QList<double> shares = downloadShares(rows);
    const QLocale locale;
    // Sorting waits until every row is in, so a row is placed once.
    m_table->setSortingEnabled(false);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ProgramBytes &row = rows[i];
        auto *item = new ProgramItem(m_table);
        item->setText(ProgramColumn, row.program.name);
        item->setIcon(ProgramColumn, iconOf(row.program));
        item->setToolTip(ProgramColumn, row.program.id);
        item->setText(DownloadColumn, formatCountOrZero(double(row.download), locale));
        item->setData(DownloadColumn, sortRole, double(row.download));
        item->setText(UploadColumn, formatCountOrZero(double(row.upload), locale));
        item->setData(UploadColumn, sortRole, double(row.upload));
        item->setText(ShareColumn, tr("%1 %").arg(locale.toString(shares[i], 'f', 1)));
        item->setData(ShareColumn, sortRole, shares[i]);
        for (const int column : {DownloadColumn, UploadColumn, ShareColumn})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_table->setSortingEnabled(true);
}
