#pragma once

#include <QString>

class QWidget;

namespace stolvar {

class Messages;

// The program's title, which is also its version identity for the update check.
inline QString ProgramTitle() { return QStringLiteral("Stolvar2.5"); }

QString AboutTitle();
QString AboutText();
// The "关于" box.
void ShowAbout(QWidget* parent, Messages& messages);

} // namespace stolvar
