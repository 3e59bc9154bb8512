#pragma once

#include <QColor>
#include <QString>

namespace stolvar {

struct MainWidgets;
class SettingsStore;

// Colours are stored as one decimal number: red + 256 × green + 65536 × blue.
QString ColourToText(const QColor& colour);
QColor ColourFromNumber(double number);

// Colours the tree, the reminder boxes and the weather area from the stored colours.
// A background with no stored colour turns grey (0x808080), as the window was designed.
void ApplyDisplayColours(const SettingsStore& settings, MainWidgets& ui);

} // namespace stolvar
