#pragma once

#include <QColor>
#include <QPushButton>

namespace stolvar {

// A button showing a colour; clicking it opens the colour chooser.
class ColourPicker : public QPushButton
{
    Q_OBJECT
public:
    explicit ColourPicker(QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    // Shows the colour; emits colourChanged only when `announce` is set.
    void setColour(const QColor& colour, bool announce);

signals:
    void colourChanged(const QColor& colour);

private:
    void choose();

    QColor m_colour;
};

} // namespace stolvar
