#include "curing/TransferController.h"

#include "curing/CuringController.h"
#include "curing/CuringWidgets.h"
#include "curing/GridSheet.h"
#include "curing/LoggerImportDialog.h"
#include "model/register/GroupQueries.h"
#include "model/strength/Evaluation.h"
#include "model/strength/StrengthSettings.h"
#include "model/workbook/StrengthSheet.h"
#include "model/workbook/WorkbookSheets.h"
#include "ui/AppContext.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <QTableWidget>
#include <QTimer>

namespace stolvar {

namespace {

QString WithXlsxSuffix(const QString& path)
{
    return path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".xlsx");
}

} // namespace

TransferController::TransferController(AppContext& context, CuringWidgets& ui, CuringController& curing,
                                       QObject* parent)
    : QObject(parent), m_context(context), m_ui(ui), m_curing(curing)
{
}

void TransferController::report(const QString& text)
{
    m_context.messages().show(m_context.window, text, Messages::DefaultTitle(), Messages::Icon::Information);
}

void TransferController::exportWorkbook()
{
    if (!m_context.db)
        return report(Messages::NoDatabaseText());
    const QString chosen = m_context.messages().saveFileName(m_context.window, QStringLiteral("导出Excel"), {},
                                                             QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (chosen.isEmpty())
        return;
    QString error;
    const QVector<SpecimenGroup> groups = LoadAllGroups(*m_context.db, GroupOrder::ByProject, &error);
    if (!error.isEmpty())
        return report(QueryFailedText() + error);
    const StrengthRegister strength = LoadStrengthRegister(*m_context.db, std::nullopt);
    if (!strength.error.isEmpty())
        return report(QueryFailedText() + strength.error);
    // The tables are built for the selected group, with their frame, even when their pages
    // were never shown.
    const QDateTime casting = m_context.selection.samplingDate;
    m_curing.buildFormsForSelection();
    const QString path = WithXlsxSuffix(chosen);
    error = WriteWorkbook(path, {SheetFromGrid(QStringLiteral("标养列表"), *m_standardList(), 1, false),
                                 GroupsSheet(groups),
                                 SheetFromGrid(QStringLiteral("同养表一"), *m_ui.table1, 0, true, casting),
                                 SheetFromGrid(QStringLiteral("同养表二"), *m_ui.table2, 3, true, casting),
                                 StrengthSheet(strength, ReadConversionFactor(m_context.settings))});
    report(error.isEmpty() ? QStringLiteral("已导出到：") + path : error);
}

void TransferController::importLoggerFile()
{
    if (m_importing)
        return;   // one import at a time
    if (!m_context.db)
        return report(Messages::NoDatabaseText());
    const QString path = m_context.messages().openFileName(m_context.window, QStringLiteral("导入温度记录"), {},
                                                           QStringLiteral("温度记录文件 (*.csv *.tsv *.txt);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    setImporting(true);
    auto progress = std::make_shared<ImportProgress>();
    showImportProgress(progress, QFileInfo(path).size());
    auto keepGoing = [progress, stop = m_context.tasks.stopFlag()](qint64 bytes) {
        progress->bytes = bytes;
        return !progress->cancel && !*stop;
    };
    m_context.tasks.run(
        this,
        [db = m_context.db, path, today = m_context.today().date(), keepGoing] {
            return PrepareLoggerImport(*db, path, today, keepGoing);
        },
        [this](const LoggerPreview& preview) {
            closeImportProgress();
            showLoggerPreview(preview);
            setImporting(false);
        });
}

// The bytes read so far, shown every tenth of a second; "取消" stops the reading at the
// next piece of the file.
void TransferController::showImportProgress(const std::shared_ptr<ImportProgress>& progress, qint64 size)
{
    auto* dialog = new QProgressDialog(QStringLiteral("正在读取温度记录文件…"), QStringLiteral("取消"), 0, 1000,
                                       m_context.window);
    dialog->setObjectName(QStringLiteral("导入进度"));
    dialog->setWindowTitle(QStringLiteral("导入温度记录"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(300);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    connect(dialog, &QProgressDialog::canceled, dialog, [progress] { progress->cancel = true; });
    auto* poll = new QTimer(dialog);
    connect(poll, &QTimer::timeout, dialog, [dialog, progress, size] {
        dialog->setValue(size > 0 ? int(std::min<qint64>(1000, progress->bytes * 1000 / size)) : 0);
    });
    poll->start(100);
    m_progress = dialog;
}

void TransferController::closeImportProgress()
{
    if (m_progress) {
        m_progress->hide();   // at once: the preview's own modal loop keeps deferred deletions
        m_progress->deleteLater();
    }
    m_progress.clear();
}

void TransferController::setImporting(bool importing)
{
    m_importing = importing;
    emit importRunningChanged(importing);
}

void TransferController::showLoggerPreview(const LoggerPreview& preview)
{
    if (preview.cancelled)
        return;
    if (!preview.error.isEmpty())
        return report(preview.error);
    createImportDialog(preview)->exec();
}

std::unique_ptr<LoggerImportDialog> TransferController::createImportDialog(const LoggerPreview& preview)
{
    auto dialog = std::make_unique<LoggerImportDialog>(preview, m_context.window);
    connect(dialog.get(), &LoggerImportDialog::importRequested, this, &TransferController::storeLoggerDays);
    return dialog;
}

void TransferController::storeLoggerDays(const QVector<LoggerDay>& days)
{
    if (!m_context.db)
        return report(Messages::NoDatabaseText());
    int written = 0;
    const QString error = StoreLoggerDays(*m_context.db, days, &written);
    report(error.isEmpty() ? ImportedText(written) : error);
    if (written > 0)
        m_curing.temperaturesStored();
}

} // namespace stolvar
