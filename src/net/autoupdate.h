#pragma once

#include <QWidget>

// The hidden window that will host the offer of a new version.
class TfrmAutoUpdate : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmAutoUpdate(QWidget *parent = nullptr);
};
