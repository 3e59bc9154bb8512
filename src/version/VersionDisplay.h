#pragma once

#include "model/version/VersionCheck.h"

class QLabel;
class QWidget;

namespace stolvar {

class Messages;

// UI thread: the status bar part of the version and, for a newer release, a plain message box.
void ApplyVersionOutcome(const VersionOutcome& outcome, QLabel* statusPart, Messages& messages, QWidget* parent);

// Opens the announcement page in the default web browser; false when none opened it.
bool OpenVersionPage(const QUrl& versionPage);
// Shown when no browser opened the page: its address, to copy.
QString NoBrowserText(const QUrl& versionPage);

} // namespace stolvar
