#pragma once

#include "model/logger/LoggerImport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace stolvar {

// The preview "导入温度记录": one row per day of the file (date, readings, mean, maximum,
// minimum, what importing would do, and a note: the missing hours of an incomplete day,
// the four observation times a mean came from); the proposed days are ticked. When the
// file's dates read in several orders, the choice box 日期顺序框 asks first and nothing is
// listed or imported before the clerk has chosen. "导入" hands the ticked days on; the
// dialog stores nothing itself.
class LoggerImportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoggerImportDialog(const LoggerPreview& preview, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QPushButton* importButton() const { return m_import; }
    QComboBox* dateOrderBox() const { return m_order; }   // null when the dates decide
    QVector<LoggerDay> tickedDays() const;

signals:
    void importRequested(const QVector<LoggerDay>& days);

private:
    QWidget* buildOrderChoice();
    void chooseOrder(int index);
    void fillTable();
    void fillRow(int row, const LoggerPreviewRow& preview);

    LoggerPreview m_preview;
    QLabel* m_summary = nullptr;
    QComboBox* m_order = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_import = nullptr;
};

} // namespace stolvar
