#pragma once

#include "model/logger/LoggerImport.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace stolvar {

// The preview "导入温度记录": one row per day of the file (date, readings, mean, maximum,
// minimum and what importing would do); the proposed days are ticked. "导入" hands the
// ticked days on; the dialog stores nothing itself.
class LoggerImportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoggerImportDialog(const LoggerPreview& preview, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QPushButton* importButton() const { return m_import; }
    QVector<LoggerDay> tickedDays() const;

signals:
    void importRequested(const QVector<LoggerDay>& days);

private:
    void fillRow(int row, const LoggerPreviewRow& preview);

    QVector<LoggerPreviewRow> m_rows;
    QTableWidget* m_table = nullptr;
    QPushButton* m_import = nullptr;
};

} // namespace stolvar
