#pragma once

#include "chart/CurveChartModule.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace stolvar {

// The curve chart module's functions, once it is loaded.
struct CurveChart {
    CreateCurveViewFunction createView = nullptr;
    ShowCurveFunction show = nullptr;
};

// The folders searched for the module, in order: only $STOLVAR_MODULE_DIR when it is set;
// otherwise the program's own folder (a build tree), the installed module folder and the
// folder above the program's (a build tree's tests and benchmarks).
QStringList CurveChartFolders();

// Loads the module from the first of `folders` that holds one of this interface; nullopt,
// with the reasons of each folder in `error`, when none does.
std::optional<CurveChart> LoadCurveChartFrom(const QStringList& folders, QString* error);

// Loads the module at its first call and keeps it loaded; null when it cannot be loaded,
// with the reason in `error` (the same at every later call).
const CurveChart* LoadCurveChart(QString* error);

} // namespace stolvar
