#pragma once

#include <QDialog>

// The about window: not modal; "OK" or the frame hides it, and opened again it is the same
// window.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};
