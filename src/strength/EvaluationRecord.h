#pragma once

#include "model/strength/Evaluation.h"

#include <QString>

#include <memory>

class QPrinter;
class QPrintPreviewDialog;
class QTableWidget;
class QWidget;

namespace stolvar {

class Messages;

// What the record says of its scope, as the page's choices read.
struct RecordHeading {
    QString project;   // a project or 全部工程
    QString grade;
    QString kind;      // 标准养护, 同条件养护（结构实体）
    QString method;    // the method asked for
    QString dates;     // the casting dates: 2026年9月1日～2026年12月8日
};

// The printed record "混凝土试块强度统计、评定记录" of an evaluation: its scope, the groups,
// the lot's figures and conditions, the verdict and the lines to sign. A grid laid out as
// the printed forms are, painted by the grids' printer; never shown on the screen.
std::unique_ptr<QTableWidget> BuildEvaluationRecord(const StrengthRegister& reg, const ScopeEvaluation& evaluation,
                                                    const RecordHeading& heading, double conversion);
QString EvaluationRecordTitle();   // 混凝土试块强度统计、评定记录

// The record as one PNG picture; false when the file could not be written.
bool WriteRecordPng(const QTableWidget& record, const QString& path);

// The print preview of the forms, with "另存为PDF" and "另存为PNG".
QPrintPreviewDialog* CreateRecordPreview(QTableWidget* record, QPrinter* printer, QWidget* parent, Messages& messages);

} // namespace stolvar
