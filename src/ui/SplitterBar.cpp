#include "ui/SplitterBar.h"

#include <QMouseEvent>

namespace stolvar {

SplitterBar::SplitterBar(QWidget* parent) : QFrame(parent)
{
    setCursor(Qt::SplitHCursor);
    setFrameShape(QFrame::VLine);
    setFrameShadow(QFrame::Sunken);
}

void SplitterBar::dragTo(int newX)
{
    const int oldX = x();
    move(newX, y());
    emit moved(oldX, newX);
}

void SplitterBar::mousePressEvent(QMouseEvent* event)
{
    m_pressOffset = event->position().toPoint().x();
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event)
{
    const int newX = mapToParent(event->position().toPoint()).x() - m_pressOffset;
    if (newX != x())
        dragTo(newX);
}

} // namespace stolvar
