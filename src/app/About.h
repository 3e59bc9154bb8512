#pragma once

#include "core/ProgramInfo.h"

#include <QString>

class QWidget;

namespace stolvar {

class Messages;

QString AboutTitle();
QString AboutText();
// The "关于" box.
void ShowAbout(QWidget* parent, Messages& messages);

} // namespace stolvar
