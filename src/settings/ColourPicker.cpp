#include "settings/ColourPicker.h"

#include <QColorDialog>

namespace stolvar {

ColourPicker::ColourPicker(QWidget* parent) : QPushButton(parent)
{
    setMinimumSize(60, 24);
    connect(this, &QPushButton::clicked, this, &ColourPicker::choose);
}

void ColourPicker::setColour(const QColor& colour, bool announce)
{
    m_colour = colour;
    setStyleSheet(QStringLiteral("background-color: %1;").arg(colour.name()));
    if (announce)
        emit colourChanged(colour);
}

void ColourPicker::choose()
{
    const QColor picked = QColorDialog::getColor(m_colour, this);
    if (picked.isValid())
        setColour(picked, true);
}

} // namespace stolvar
