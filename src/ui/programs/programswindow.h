#pragma once

#include "programs/programusage.h"

#include <QDialog>

class QComboBox;
class QTreeWidget;

// "Programs": which program on this computer downloaded and uploaded how much in the last
// minute, today or since the bucket was last empty, with its share of the download. Sortable by
// any column; follows the tick while open.
class ProgramsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ProgramsWindow(QWidget *parent = nullptr);

    // The use to show, from the session; every tick while the window is open. None: programs
    // are not attributed.
    void follow(const ProgramUsage *usage);

private:
    void showRows();
    ProgramPeriod period() const;

    QComboBox *m_periodBox = nullptr;
    QTreeWidget *m_table = nullptr;
    const ProgramUsage *m_usage = nullptr;
};
