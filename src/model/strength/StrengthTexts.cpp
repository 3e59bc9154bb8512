#include "model/strength/StrengthTexts.h"

#include <algorithm>

namespace stolvar {

namespace {

const QString kGap = QStringLiteral("　");   // the ideographic space between the figures
const QString kPartSeparator = QStringLiteral("｜");

QString Mark(bool passes)
{
    return passes ? QStringLiteral("✓") : QStringLiteral("✗");
}

QString DeviationText(const LotEvaluation& lot)
{
    if (!lot.deviation)
        return QStringLiteral("—");
    QString text = FormatLimit(*lot.deviation);
    if (lot.method == LotMethod::Statistical && *lot.deviation < lot.deviationUsed)
        text += QStringLiteral("（取%1）").arg(FormatLimit(lot.deviationUsed));
    return text;
}

QString BasisText(const GroupValue& value)
{
    return value.basis == GroupBasis::Middle ? QStringLiteral("取中间值") : QStringLiteral("取平均值");
}

QString InvalidText(const GroupValue& value)
{
    return value.problem.isEmpty() ? QStringLiteral("无效") : QStringLiteral("无效：") + value.problem;
}

// One kind's values on the panel: "32.1、无效 MPa", "37.4 MPa（×1.10）", "82%".
QString PanelPart(DueKind kind, const QVector<TestResult>& results, std::optional<int> fcuk, double conversion)
{
    QStringList items;
    bool anyValue = false;
    for (const TestResult& r : results) {
        const GroupValue v = ValueOfResult(r, fcuk, conversion);
        if (!v.valid())
            items << QStringLiteral("无效");
        else if (kind == DueKind::FormRemoval && fcuk)
            items << QString::number(JudgeFormRemoval(v.value, *fcuk, std::nullopt).percentShown) + u'%';
        else {
            items << FormatMpa(v.value);
            anyValue = true;
        }
    }
    QString text = DueKindText(kind) + u'：' + items.join(u'、');
    if (kind == DueKind::FormRemoval && fcuk)
        return text;
    text += QStringLiteral(" MPa");
    if (kind == DueKind::SameCondition && anyValue)
        text += QStringLiteral("（×%1）").arg(FormatFactor(conversion));
    return text;
}

} // namespace

GroupValue ValueOfResult(const TestResult& result, std::optional<int> fcuk, double conversion)
{
    const GroupValue representative = RepresentativeValue(result.strengths, result.edgeMm, fcuk);
    return result.kind == DueKind::SameCondition ? SameConditionValue(representative, conversion) : representative;
}

QString FormatMpa(double value)
{
    return QString::number(value, 'f', 1);
}

QString FormatStrength(double value)
{
    const QString text = QString::number(value, 'g', 6);
    return text.contains(u'.') || text.contains(u'e') ? text : text + QStringLiteral(".0");
}

QString FormatLimit(double value)
{
    return QString::number(value, 'f', 2);
}

QString FormatFactor(double value)
{
    return QString::number(value, 'f', 2);
}

QString GroupValueText(const GroupValue& value)
{
    return value.valid() ? FormatMpa(value.value) : QString();
}

QString GroupRemark(const GroupValue& value, int edgeMm, std::optional<double> conversion)
{
    if (!value.valid())
        return InvalidText(value);
    QStringList parts;
    if (value.basis == GroupBasis::Middle)
        parts << BasisText(value);
    if (edgeMm != strength::kStandardEdge)
        parts << QStringLiteral("×%1（%2mm）").arg(FormatFactor(value.sizeFactor)).arg(edgeMm);
    if (conversion)
        parts << QStringLiteral("折算×%1").arg(FormatFactor(*conversion));
    return parts.join(u'，');
}

QString FormRemovalText(const FormRemovalVerdict& verdict)
{
    QString text = QStringLiteral("达到设计强度的%1%").arg(verdict.percentShown);
    if (verdict.required) {
        text += verdict.allowed ? QStringLiteral("，可拆模") : QStringLiteral("，不可拆模");
        text += QStringLiteral("（要求≥%1%）").arg(*verdict.required);
    }
    return text;
}

QString ResultConclusion(const TestResult& result, const QString& grade, double conversion,
                         std::optional<int> formRequirement)
{
    const std::optional<int> fcuk = DesignStrength(grade);
    const GroupValue v = ValueOfResult(result, fcuk, conversion);
    if (!v.valid())
        return InvalidText(v);
    if (!fcuk)
        return BasisText(v) + u'；' + UnknownGradeText(grade);
    if (result.kind == DueKind::FormRemoval)
        return FormRemovalText(JudgeFormRemoval(v.value, *fcuk, formRequirement));
    QString text = BasisText(v);
    if (result.kind == DueKind::SameCondition)
        text += QStringLiteral("，折算×%1").arg(FormatFactor(conversion));
    const FormRemovalVerdict share = JudgeFormRemoval(v.value, *fcuk, std::nullopt);
    return text + QStringLiteral("，为设计强度的%1%").arg(share.percentShown);
}

QString NoResultsText()
{
    return QStringLiteral("暂无试验结果");
}

QString PanelStrengthText(const QVector<TestResult>& results, const QString& grade, double conversion)
{
    const std::optional<int> fcuk = DesignStrength(grade);
    QStringList parts;
    for (const DueKind kind : kDueKinds) {
        QVector<TestResult> ofKind;
        std::copy_if(results.begin(), results.end(), std::back_inserter(ofKind),
                     [kind](const TestResult& r) { return r.kind == kind; });
        std::sort(ofKind.begin(), ofKind.end(), [](const TestResult& a, const TestResult& b) { return a.number < b.number; });
        if (!ofKind.isEmpty())
            parts << PanelPart(kind, ofKind, fcuk, conversion);
    }
    return parts.isEmpty() ? NoResultsText() : parts.join(u'；');
}

QString LotSummaryText(const LotEvaluation& lot)
{
    return QStringList{QStringLiteral("n=%1").arg(lot.n), QStringLiteral("mfcu=") + FormatLimit(lot.mean),
                       QStringLiteral("Sfcu=") + DeviationText(lot), QStringLiteral("fcu,min=") + FormatMpa(lot.minimum),
                       QStringLiteral("fcu,k=%1").arg(lot.fcuk)}
        .join(kGap);
}

QStringList LotConditionTexts(const LotEvaluation& lot)
{
    const QString mean = QStringLiteral("mfcu=") + FormatLimit(lot.mean) + QStringLiteral(" ≥ ");
    const QString minimum = QStringLiteral("fcu,min=") + FormatMpa(lot.minimum) + QStringLiteral(" ≥ ");
    const QString k = QString::number(lot.fcuk);
    if (lot.method == LotMethod::Statistical) {
        return {mean + QStringLiteral("fcu,k+λ1·Sfcu=%1+%2×%3=%4 ").arg(k, FormatFactor(lot.meanFactor),
                                                                        FormatLimit(lot.deviationUsed), FormatLimit(lot.meanLimit))
                    + Mark(lot.meanPasses),
                minimum + QStringLiteral("λ2·fcu,k=%1×%2=%3 ").arg(FormatFactor(lot.minimumFactor), k, FormatLimit(lot.minimumLimit))
                    + Mark(lot.minimumPasses)};
    }
    return {mean + QStringLiteral("λ3·fcu,k=%1×%2=%3 ").arg(FormatFactor(lot.meanFactor), k, FormatLimit(lot.meanLimit))
                + Mark(lot.meanPasses),
            minimum + QStringLiteral("λ4·fcu,k=%1×%2=%3 ").arg(FormatFactor(lot.minimumFactor), k, FormatLimit(lot.minimumLimit))
                + Mark(lot.minimumPasses)};
}

QString LotMethodHeading(const LotEvaluation& lot)
{
    if (lot.method == LotMethod::Statistical)
        return MethodText(LotMethod::Statistical);
    if (lot.statisticalRefused)
        return QStringLiteral("非统计方法（统计方法需n≥%1）").arg(strength::kStatisticalMinimum);
    return MethodText(LotMethod::NonStatistical);
}

QString LotVerdictText(const LotEvaluation& lot)
{
    return QStringLiteral("评定结果：") + (lot.passes() ? QStringLiteral("合格") : QStringLiteral("不合格"));
}

QString LotResultText(const LotEvaluation& lot)
{
    return LotSummaryText(lot) + kPartSeparator + LotMethodHeading(lot) + u'：' + LotConditionTexts(lot).join(u'；')
           + kPartSeparator + LotVerdictText(lot);
}

QString NoEvaluableResultsText()
{
    return QStringLiteral("无可评定的试验结果");
}

QString MethodText(LotMethod method)
{
    switch (method) {
    case LotMethod::Automatic:
        return QStringLiteral("自动");
    case LotMethod::Statistical:
        return QStringLiteral("统计方法");
    case LotMethod::NonStatistical:
        return QStringLiteral("非统计方法");
    }
    return {};
}

QStringList MethodChoices()
{
    return {MethodText(LotMethod::Automatic), MethodText(LotMethod::Statistical), MethodText(LotMethod::NonStatistical)};
}

} // namespace stolvar
