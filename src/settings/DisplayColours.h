#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeView;

namespace stolvar {

class SettingsStore;

// Colours are stored as one decimal number: red + 256 × green + 65536 × blue.
QString ColourToText(const QColor& colour);
QColor ColourFromNumber(double number);

// The controls the display colours apply to, gathered from the subsystems that own them.
struct ColourTargets {
    QTreeView* tree = nullptr;              // colours 1 (background) and 6 (text)
    QList<QPlainTextEdit*> reminderBoxes;   // colours 2 and 5; the first one shows them
    QList<QLabel*> dayLabels;               // colours 3 and 4; the first one shows them
    QList<QLineEdit*> weatherBoxes;         // the background of colour 3
};

// Colours the tree, the reminder boxes and the weather area from the stored colours.
void ApplyDisplayColours(const SettingsStore& settings, const ColourTargets& targets);

} // namespace stolvar
