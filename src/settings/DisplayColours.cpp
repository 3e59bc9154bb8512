#include "settings/DisplayColours.h"

#include "core/Conversions.h"
#include "core/SettingsStore.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

#include <cmath>

namespace stolvar {

namespace {

void SetRole(QWidget* w, QPalette::ColorRole role, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

// A stored colour (the number of the colour picker) is shown as stored; with none (key
// missing or empty) the control keeps the colour the platform gives it.
QColor StoredOr(const QString& stored, const QWidget* w, QPalette::ColorRole role)
{
    if (stored.trimmed().isEmpty())
        return QApplication::palette(w).color(role);
    return ColourFromNumber(ParseNumberText(stored));
}

} // namespace

QString ColourToText(const QColor& colour)
{
    return QString::number(colour.red() + 256 * colour.green() + 65536 * colour.blue());
}

QColor ColourFromNumber(double number)
{
    const long value = long(std::trunc(number)) & 0xFFFFFF;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void ApplyDisplayColours(const SettingsStore& settings, const ColourTargets& targets)
{
    QTreeView* tree = targets.tree;
    SetRole(tree, QPalette::Base, StoredOr(settings.read(keys::kColour1), tree, QPalette::Base));
    SetRole(tree, QPalette::Text, StoredOr(settings.read(keys::kColour6), tree, QPalette::Text));

    const QPlainTextEdit* first = targets.reminderBoxes.value(0);
    const QColor boxBackground = StoredOr(settings.read(keys::kColour2), first, QPalette::Base);
    const QColor boxText = StoredOr(settings.read(keys::kColour5), first, QPalette::Text);
    for (QPlainTextEdit* box : targets.reminderBoxes) {
        SetRole(box, QPalette::Base, boxBackground);
        SetRole(box, QPalette::Text, boxText);
    }

    const QLabel* today = targets.dayLabels.value(0);
    const QColor labelBackground = StoredOr(settings.read(keys::kColour3), today, QPalette::Window);
    const QColor labelText = StoredOr(settings.read(keys::kColour4), today, QPalette::WindowText);
    for (QLabel* label : targets.dayLabels) {
        SetRole(label, QPalette::Window, labelBackground);
        SetRole(label, QPalette::WindowText, labelText);
    }
    const bool labelStored = !settings.read(keys::kColour3).trimmed().isEmpty();
    for (QLineEdit* box : targets.weatherBoxes)
        SetRole(box, QPalette::Base, labelStored ? labelBackground : QApplication::palette(box).color(QPalette::Base));
}

} // namespace stolvar
