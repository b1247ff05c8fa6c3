#include "ui/options/optionsform.h"

#include "ui/common/colours.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {
constexpr const char *keepsMarginsProperty = "keepsMargins";
} // namespace

namespace OptionsForm {

QFont arial(int pixels)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

void paintAsTabSheet(QWidget *page, const char *name)
{
    page->setObjectName(QLatin1String(name));
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    page->setPalette(palette);
}

QPushButton *button(const char *name, const QString &caption, QStyle::StandardPixmap glyph)
{
    auto *b = named(new QPushButton(caption), name);
    b->setFont(arial(11));
    if (glyph != QStyle::SP_CustomBase)
        b->setIcon(b->style()->standardIcon(glyph));
    return b;
}

QLineEdit *edit(const char *name)
{
    return named(new QLineEdit, name);
}

QFrame *whitePanel()
{
    auto *panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Qt::gray);
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::gray);
    panel->setPalette(palette);
    return panel;
}

QGroupBox *frame(const char *name, const QString &caption)
{
    return named(new QGroupBox(caption), name);
}

QHBoxLayout *buttonRow(std::initializer_list<QWidget *> widgets)
{
    auto *row = new QHBoxLayout;
    for (QWidget *w : widgets)
        row->addWidget(w);
    row->addStretch();
    return row;
}

QGridLayout *fieldGrid(QWidget *parent)
{
    auto *grid = new QGridLayout(parent);
    grid->setColumnStretch(2, 1);
    return grid;
}

void addField(QGridLayout *grid, QLabel *caption, QWidget *input, QWidget *beside)
{
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(input, row, 1);
    if (beside)
        grid->addWidget(beside, row, 2, Qt::AlignLeft);
}

QTimeEdit *timePicker(const char *name)
{
    auto *picker = named(new QTimeEdit, name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return picker;
}

void keepMargins(QWidget *widget)
{
    widget->setProperty(keepsMarginsProperty, true);
}

void tighten(QWidget *content)
{
    for (QLayout *layout : content->findChildren<QLayout *>()) {
        const QWidget *owner = layout->parentWidget();
        if (owner->property(keepsMarginsProperty).toBool())
            continue;
        // The pages' own margins go: the longest frame caption needs the whole width.
        const bool edge = owner == content || qobject_cast<const QStackedWidget *>(owner->parentWidget());
        const int margin = edge ? 0 : 3;
        layout->setContentsMargins(margin, margin, margin, margin);
        layout->setSpacing(3);
        // A caption never touches its box.
        if (auto *grid = qobject_cast<QGridLayout *>(layout))
            grid->setHorizontalSpacing(8);
    }
}

} // namespace OptionsForm
