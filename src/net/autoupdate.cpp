#include "net/autoupdate.h"

TfrmAutoUpdate::TfrmAutoUpdate(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmAutoUpdate"));
}
