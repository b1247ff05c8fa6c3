#pragma once

#include <QWidget>

// The hidden window that will host the offer of a new version.
class UpdateOfferWindow : public QWidget
{
    Q_OBJECT

public:
    explicit UpdateOfferWindow(QWidget *parent = nullptr);
};
