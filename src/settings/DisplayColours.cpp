#include "settings/DisplayColours.h"

#include "core/Conversions.h"
#include "ui/MainWidgets.h"
#include "core/SettingsStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

#include <cmath>

namespace stolvar {

namespace {

const QColor kGrey(0x80, 0x80, 0x80);

void SetRole(QWidget* w, QPalette::ColorRole role, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

// The background the stored text asks for, given the control's current one: grey when
// nothing is stored and the current one differs from black (what an empty number reads as).
QColor BackgroundFor(const QString& stored, const QColor& current)
{
    if (!stored.trimmed().isEmpty())
        return ColourFromNumber(ParseNumberText(stored));
    const double currentNumber = ParseNumberText(ColourToText(current));
    return std::fabs(currentNumber) > 1e-7 ? kGrey : current;
}

QColor TextColourFor(const QString& stored)
{
    return ColourFromNumber(std::trunc(ParseNumberText(stored)));
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

void ApplyDisplayColours(const SettingsStore& settings, MainWidgets& ui)
{
    QTreeView* tree = ui.tree;
    SetRole(tree, QPalette::Base, BackgroundFor(settings.read(keys::kColour1), tree->palette().color(QPalette::Base)));
    SetRole(tree, QPalette::Text, TextColourFor(settings.read(keys::kColour6)));

    QPlainTextEdit* first = ui.standardDueBox;
    const QColor boxBackground = BackgroundFor(settings.read(keys::kColour2), first->palette().color(QPalette::Base));
    const QColor boxText = TextColourFor(settings.read(keys::kColour5));
    for (QPlainTextEdit* box : {ui.standardDueBox, ui.sameConditionDueBox, ui.formRemovalDueBox, ui.recentPoursBox}) {
        SetRole(box, QPalette::Base, boxBackground);
        SetRole(box, QPalette::Text, boxText);
    }

    QLabel* today = ui.todayLabel;
    const QColor labelBackground = BackgroundFor(settings.read(keys::kColour3), today->palette().color(QPalette::Window));
    const QColor labelText = TextColourFor(settings.read(keys::kColour4));
    for (QLabel* label : {ui.todayLabel, ui.futureLabels[0], ui.futureLabels[1], ui.futureLabels[2], ui.futureLabels[3]}) {
        SetRole(label, QPalette::Window, labelBackground);
        SetRole(label, QPalette::WindowText, labelText);
    }
    SetRole(ui.cityBox, QPalette::Base, labelBackground);
    SetRole(ui.leadDaysBox, QPalette::Base, labelBackground);
}

} // namespace stolvar
