#include "curing/CuringController.h"

#include "ui/AppContext.h"
#include "curing/LoggerImportDialog.h"
#include "curing/GridSheet.h"
#include "model/register/GroupQueries.h"
#include "model/workbook/WorkbookSheets.h"

#include <QTableWidget>

// The commands that move temperatures and tables in and out of the program: the logger
// file import and the Excel export.
namespace stolvar {

namespace {

QString NoDatabaseText()
{
    return QStringLiteral("请先打开数据库！");
}

QString WithXlsxSuffix(const QString& path)
{
    return path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".xlsx");
}

} // namespace

void CuringController::exportWorkbook()
{
    if (!m_context.db)
        return report(NoDatabaseText());
    const QString chosen = m_context.messages().saveFileName(m_context.window, QStringLiteral("导出Excel"), {},
                                                             QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (chosen.isEmpty())
        return;
    QString error;
    const QVector<SpecimenGroup> groups = LoadAllGroups(*m_context.db, GroupOrder::ByProject, &error);
    if (!error.isEmpty())
        return report(QueryFailedText() + error);
    // The tables are filled for the selected group even when their pages were not shown.
    const QDateTime casting = m_context.selection.samplingDate;
    if (casting.isValid()) {
        fillTable1();
        fillTable2();
    }
    const MainWidgets& ui = m_context.ui;
    const QString path = WithXlsxSuffix(chosen);
    error = WriteWorkbook(path, {SheetFromGrid(QStringLiteral("标养列表"), *ui.standardList, 1, false),
                                 GroupsSheet(groups),
                                 SheetFromGrid(QStringLiteral("同养表一"), *ui.table1, 0, true, casting),
                                 SheetFromGrid(QStringLiteral("同养表二"), *ui.table2, 3, true, casting)});
    report(error.isEmpty() ? QStringLiteral("已导出到：") + path : error);
}

void CuringController::importLoggerFile()
{
    if (!m_context.db)
        return report(NoDatabaseText());
    const QString path = m_context.messages().openFileName(m_context.window, QStringLiteral("导入温度记录"), {},
                                                           QStringLiteral("温度记录文件 (*.csv *.tsv *.txt);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    m_context.tasks.run(
        this, [db = m_context.db, path] { return PrepareLoggerImport(*db, path); },
        [this](const LoggerPreview& preview) { showLoggerPreview(preview); });
}

void CuringController::showLoggerPreview(const LoggerPreview& preview)
{
    if (!preview.error.isEmpty())
        return report(preview.error);
    createImportDialog(preview)->exec();
}

std::unique_ptr<LoggerImportDialog> CuringController::createImportDialog(const LoggerPreview& preview)
{
    auto dialog = std::make_unique<LoggerImportDialog>(preview, m_context.window);
    connect(dialog.get(), &LoggerImportDialog::importRequested, this, &CuringController::storeLoggerDays);
    return dialog;
}

void CuringController::storeLoggerDays(const QVector<LoggerDay>& days)
{
    if (!m_context.db)
        return report(NoDatabaseText());
    int written = 0;
    const QString error = StoreLoggerDays(*m_context.db, days, &written);
    report(error.isEmpty() ? ImportedText(written) : error);
    if (written > 0)
        refreshTable1InBackground();
}

} // namespace stolvar
