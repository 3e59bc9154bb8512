#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

namespace stolvar {

// Creates a control at its designed place and gives it its name.
template <typename W>
W* Place(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

inline QLabel* PlaceLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* label = Place<QLabel>(parent, name, geometry);
    label->setText(text);
    return label;
}

inline QPushButton* PlaceButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* button = Place<QPushButton>(parent, name, geometry);
    button->setText(text);
    return button;
}

} // namespace stolvar
