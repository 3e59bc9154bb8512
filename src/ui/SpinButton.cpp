#include "ui/SpinButton.h"

#include <QToolButton>

namespace stolvar {

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("向上"));
    m_down->setObjectName(QStringLiteral("向下"));
    connect(m_up, &QToolButton::clicked, this, &SpinButton::up);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::down);
}

void SpinButton::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace stolvar
