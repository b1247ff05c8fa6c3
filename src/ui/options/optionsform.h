#pragma once

#include <QStyle>

#include <array>
#include <initializer_list>

class QFont;
class QFrame;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QString;
class QTimeEdit;
class QVBoxLayout;
class QWidget;

// The pieces the options window's tabs are built from, so every tab looks alike.
namespace OptionsForm {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QFont arial(int pixels);
// A tab page in the window's blue.
void paintAsTabSheet(QWidget *page, const char *name);
// "Ok", "Cancel" and the glyph buttons use the smaller font; other buttons keep the window's.
QPushButton *button(const char *name, const QString &caption, QStyle::StandardPixmap glyph = QStyle::SP_CustomBase);
QLineEdit *edit(const char *name);
// A white panel with black text, which holds inputs on the dark blue window.
QFrame *whitePanel();
QGroupBox *frame(const char *name, const QString &caption);
QHBoxLayout *buttonRow(std::initializer_list<QWidget *> widgets);
// Label and input pairs, one per row, labels in the first column.
QGridLayout *fieldGrid(QWidget *parent);
void addField(QGridLayout *grid, QLabel *caption, QWidget *input, QWidget *beside = nullptr);
QTimeEdit *timePicker(const char *name);
// A widget whose layouts keep their own margins when the window tightens the rest.
void keepMargins(QWidget *widget);
// The style's roomy margins and gaps would push the controls past 536 x 466.
void tighten(QWidget *content);

} // namespace OptionsForm
