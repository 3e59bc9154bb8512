#pragma once

#include <QObject>
#include <QVector>

#include <functional>
#include <memory>

class QTableWidget;

namespace stolvar {

struct AppContext;
class CuringController;
struct CuringWidgets;
class LoggerImportDialog;
struct LoggerDay;
struct LoggerPreview;

// The commands that move temperatures and tables in and out of the program: the logger
// file import and the Excel export. Lives on the UI thread; a file is read on a worker.
class TransferController : public QObject
{
    Q_OBJECT

public:
    TransferController(AppContext& context, CuringWidgets& ui, CuringController& curing, QObject* parent = nullptr);

    // The standard-curing list as the register shows it, for the export.
    void setStandardList(std::function<const QTableWidget*()> list) { m_standardList = std::move(list); }

    // "导出Excel…": the standard-curing list as shown, every group of the register, both
    // same-condition tables of the selected group and the strength evaluation of every
    // grade, in one workbook.
    void exportWorkbook();

    // "导入温度记录…": the file is read and planned on a worker, then previewed.
    void importLoggerFile();
    void showLoggerPreview(const LoggerPreview& preview);
    std::unique_ptr<LoggerImportDialog> createImportDialog(const LoggerPreview& preview);
    void storeLoggerDays(const QVector<LoggerDay>& days);

private:
    void report(const QString& text);

    AppContext& m_context;
    CuringWidgets& m_ui;
    CuringController& m_curing;
    std::function<const QTableWidget*()> m_standardList;
};

} // namespace stolvar
