#include "ui/update/updateofferwindow.h"

UpdateOfferWindow::UpdateOfferWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("updateOfferWindow"));
}
