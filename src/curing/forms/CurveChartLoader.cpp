#include "curing/forms/CurveChartLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace stolvar {

namespace {

struct Loaded {
    std::optional<CurveChart> chart;
    QString error;
};

} // namespace

std::optional<CurveChart> LoadCurveChartFrom(const QStringList& folders, QString* error)
{
    QStringList tried;
    for (const QString& folder : folders) {
        QLibrary library(QDir(folder).filePath(QLatin1String(kCurveChartModule)));
        if (!library.load()) {
            tried << library.errorString();
            continue;
        }
        const auto interface = reinterpret_cast<CurveChartInterfaceFunction>(library.resolve(kCurveChartInterfaceSymbol));
        CurveChart chart{reinterpret_cast<CreateCurveViewFunction>(library.resolve(kCreateCurveViewSymbol)),
                         reinterpret_cast<ShowCurveFunction>(library.resolve(kShowCurveSymbol))};
        if (!interface || interface() != kCurveChartInterface || !chart.createView || !chart.show) {
            tried << QStringLiteral("%1：版本不符").arg(QDir::toNativeSeparators(library.fileName()));
            library.unload();
            continue;
        }
        return chart;   // stays loaded: QLibrary's destructor does not unload
    }
    if (error)
        *error = QStringLiteral("找不到曲线组件 %1（%2）").arg(QLatin1String(kCurveChartModule), tried.join(QStringLiteral("；")));
    return std::nullopt;
}

QStringList CurveChartFolders()
{
    const QString chosen = qEnvironmentVariable("STOLVAR_MODULE_DIR");
    if (!chosen.isEmpty())
        return {chosen};
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(), QDir::cleanPath(program.filePath(QStringLiteral(STOLVAR_INSTALLED_MODULE_DIR))),
            QDir::cleanPath(program.filePath(QStringLiteral("..")))};
}

const CurveChart* LoadCurveChart(QString* error)
{
    static const Loaded loaded = [] {
        Loaded result;
        result.chart = LoadCurveChartFrom(CurveChartFolders(), &result.error);
        return result;
    }();
    if (error)
        *error = loaded.error;
    return loaded.chart ? &*loaded.chart : nullptr;
}

} // namespace stolvar
