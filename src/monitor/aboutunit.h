#pragma once

#include <QDialog>

// The about window; opened again it is the same window.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);
};
