#include "model/strength/StrengthRules.h"

#include "core/Conversions.h"

#include <algorithm>
#include <cmath>

namespace stolvar {

namespace {

// Binary fractions put a product such as 23.0 × 0.95 just below 21.85: a millionth of a
// tenth brings it back to the decimal value the clerk would compute by hand.
constexpr double kRoundingNudge = 1e-6;

bool Exceeds(double difference, double middle)
{
    return difference > strength::kOutlierShare * middle + strength::kCompareTolerance;
}

bool AtLeast(double value, double limit)
{
    return value >= limit - strength::kCompareTolerance;
}

GroupValue Invalid(const QString& problem = {})
{
    GroupValue v;
    v.problem = problem;
    return v;
}

std::optional<double> Deviation(const QVector<double>& values, double mean)
{
    const qsizetype n = values.size();
    if (n < 2)
        return std::nullopt;
    double squares = 0;
    for (const double f : values)
        squares += f * f;
    return std::sqrt(std::max(0.0, (squares - double(n) * mean * mean) / double(n - 1)));
}

void ApplyStatistical(LotEvaluation& lot)
{
    using namespace strength;
    lot.method = LotMethod::Statistical;
    lot.meanFactor = lot.n < 15 ? kLambda1Few : lot.n < 20 ? kLambda1Some : kLambda1Many;
    lot.minimumFactor = lot.n < 15 ? kLambda2Few : kLambda2More;
    lot.deviationUsed = std::max(lot.deviation.value_or(0), kMinimumDeviation);
    lot.meanLimit = lot.fcuk + lot.meanFactor * lot.deviationUsed;
    lot.minimumLimit = lot.minimumFactor * lot.fcuk;
}

void ApplyNonStatistical(LotEvaluation& lot)
{
    using namespace strength;
    lot.method = LotMethod::NonStatistical;
    lot.meanFactor = lot.fcuk < kHighStrengthGrade ? kLambda3Below60 : kLambda3From60;
    lot.minimumFactor = kLambda4;
    lot.meanLimit = lot.meanFactor * lot.fcuk;
    lot.minimumLimit = lot.minimumFactor * lot.fcuk;
}

} // namespace

std::optional<int> DesignStrength(const QString& grade)
{
    const QString folded = FoldFullWidth(grade);
    const qsizetype c = folded.indexOf(QLatin1Char('C'), 0, Qt::CaseInsensitive);
    if (c < 0)
        return std::nullopt;
    qsizetype end = c + 1;
    while (end < folded.size() && end - c <= 3 && folded.at(end).isDigit() && folded.at(end).unicode() < 0x80)
        ++end;
    if (end == c + 1)
        return std::nullopt;
    const int fcuk = folded.mid(c + 1, end - c - 1).toInt();
    return fcuk > 0 ? std::optional<int>(fcuk) : std::nullopt;
}

QString UnknownGradeText(const QString& grade)
{
    return QStringLiteral("强度等级无法识别：") + grade;
}

QString HighGradeSizeText()
{
    return QStringLiteral("C60及以上应采用标准尺寸试件");
}

double RoundToTenth(double value)
{
    return std::floor(value * 10.0 + 0.5 + kRoundingNudge) / 10.0;
}

std::optional<double> SizeFactor(int edgeMm)
{
    switch (edgeMm) {
    case 100:
        return strength::kFactor100;
    case strength::kStandardEdge:
        return 1.0;
    case 200:
        return strength::kFactor200;
    default:
        return std::nullopt;
    }
}

GroupValue RepresentativeValue(const std::array<double, 3>& strengths, int edgeMm, std::optional<int> fcuk)
{
    const std::optional<double> factor = SizeFactor(edgeMm);
    if (!factor)
        return Invalid(QStringLiteral("试件尺寸应为100、150或200"));
    if (fcuk && *fcuk >= strength::kHighStrengthGrade && edgeMm != strength::kStandardEdge)
        return Invalid(HighGradeSizeText());
    std::array<double, 3> f = strengths;
    std::sort(f.begin(), f.end());
    const bool lowOff = Exceeds(f[1] - f[0], f[1]);
    const bool highOff = Exceeds(f[2] - f[1], f[1]);
    if (lowOff && highOff)
        return Invalid();
    GroupValue v;
    v.basis = lowOff || highOff ? GroupBasis::Middle : GroupBasis::Mean;
    const double raw = v.basis == GroupBasis::Middle ? f[1] : (f[0] + f[1] + f[2]) / 3.0;
    v.sizeFactor = *factor;
    v.value = RoundToTenth(raw * *factor);
    return v;
}

bool IsAcceptedConversion(double conversion)
{
    return std::isfinite(conversion) && AtLeast(conversion, strength::kMinimumConversion)
           && AtLeast(strength::kMaximumConversion, conversion);
}

GroupValue SameConditionValue(const GroupValue& representative, double conversion)
{
    GroupValue v = representative;
    if (v.valid())
        v.value = RoundToTenth(v.value * conversion);
    return v;
}

std::optional<LotEvaluation> EvaluateLot(const QVector<double>& values, int fcuk, LotMethod requested)
{
    if (values.isEmpty())
        return std::nullopt;
    LotEvaluation lot;
    lot.n = int(values.size());
    lot.fcuk = fcuk;
    double sum = 0;
    for (const double f : values)
        sum += f;
    lot.mean = sum / double(lot.n);
    lot.minimum = *std::min_element(values.begin(), values.end());
    lot.deviation = Deviation(values, lot.mean);
    const bool enough = lot.n >= strength::kStatisticalMinimum;
    lot.statisticalRefused = requested == LotMethod::Statistical && !enough;
    const bool statistical = enough && requested != LotMethod::NonStatistical;
    if (statistical)
        ApplyStatistical(lot);
    else
        ApplyNonStatistical(lot);
    lot.meanPasses = AtLeast(lot.mean, lot.meanLimit);
    lot.minimumPasses = AtLeast(lot.minimum, lot.minimumLimit);
    return lot;
}

FormRemovalVerdict JudgeFormRemoval(double value, int fcuk, std::optional<int> required)
{
    FormRemovalVerdict v;
    v.percent = fcuk > 0 ? value / fcuk * 100.0 : 0;
    v.percentShown = int(std::floor(v.percent + strength::kCompareTolerance));
    v.required = required;
    v.allowed = required && AtLeast(v.percent, *required);
    return v;
}

std::optional<int> FormRequirementFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const int r : kFormRequirements) {
        if (trimmed == QString::number(r))
            return r;
    }
    return std::nullopt;
}

} // namespace stolvar
