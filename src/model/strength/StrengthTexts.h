#pragma once

#include "model/strength/StrengthRules.h"
#include "model/strength/TestResults.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace stolvar {

// The value of one result as the evaluation counts it: the representative value, for a
// same-condition group converted.
GroupValue ValueOfResult(const TestResult& result, std::optional<int> fcuk, double conversion);

// Texts of the results and of the evaluation, as the panel, the dialog, the evaluation
// page, its printed record and the workbook show them.

QString FormatMpa(double value);     // 0.1 MPa: "31.5"
// A strength as the report gives it, at least to 0.1 MPa: "42.0", "31.55".
QString FormatStrength(double value);
QString FormatLimit(double value);   // 0.01 MPa: "33.22"
QString FormatFactor(double value);  // "1.15", "0.90"

// The representative value as a cell ("31.5"; "" when invalid).
QString GroupValueText(const GroupValue& value);
// How the value was taken, for the grid's 备注: "无效", "取中间值", "×0.95（100mm）",
// "折算×1.10", joined by "，"; "" for the plain mean of three standard cubes.
QString GroupRemark(const GroupValue& value, int edgeMm, std::optional<double> conversion);

// 达到设计强度的82%，可拆模（要求≥75%）; …，不可拆模（要求≥75%）; 达到设计强度的82%.
QString FormRemovalText(const FormRemovalVerdict& verdict);

// The conclusion column of the results dialog for one result.
QString ResultConclusion(const TestResult& result, const QString& grade, double conversion,
                         std::optional<int> formRequirement);

// 标养：32.1、33.5、无效 MPa；同养：37.4 MPa（×1.10）；拆模：82%, or 暂无试验结果.
QString PanelStrengthText(const QVector<TestResult>& results, const QString& grade, double conversion);
QString NoResultsText();   // 暂无试验结果

// The lot's line: n, mfcu, Sfcu, fcu,min, fcu,k | the method's two conditions | the verdict.
QString LotSummaryText(const LotEvaluation& lot);    // n=12　mfcu=35.20　Sfcu=2.80　fcu,min=31.5　fcu,k=30
QStringList LotConditionTexts(const LotEvaluation& lot);   // the two conditions, each with ✓ or ✗
QString LotMethodHeading(const LotEvaluation& lot);  // 统计方法 / 非统计方法（…）
QString LotVerdictText(const LotEvaluation& lot);    // 评定结果：合格 / 不合格
QString LotResultText(const LotEvaluation& lot);     // the whole line, parts joined by ｜
QString NoEvaluableResultsText();                    // 无可评定的试验结果

QString MethodText(LotMethod method);                // 自动, 统计方法, 非统计方法
QStringList MethodChoices();                         // 自动, 统计方法, 非统计方法

} // namespace stolvar
