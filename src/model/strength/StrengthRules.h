#pragma once

#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace stolvar {

// The laboratory tests three cubes per group; from their compressive strengths follow the
// group's representative value (GB/T 50081, as GB/T 50107 applies it), the verdict on a lot
// of groups of one grade (GB/T 50107-2010) and whether a member's forms may be struck
// (GB 50204-2015). Pure rules: no storage, no texts beyond the rules' own messages.

namespace strength {
// A specimen more than 15 % off the middle one is an outlier.
inline constexpr double kOutlierShare = 0.15;
// The cube edges a laboratory tests, in mm, and the factors that bring their strength to
// the 150 mm standard cube (a small cube reads high, a large one low).
inline constexpr int kStandardEdge = 150;
inline constexpr double kFactor100 = 0.95;
inline constexpr double kFactor200 = 1.05;
// From C60 on the size factors are not established: only the standard cube counts.
inline constexpr int kHighStrengthGrade = 60;
// A strength the report can give, in MPa (0 excluded).
inline constexpr double kMaximumStrength = 150.0;

// Same-condition specimens cure beside the structure, whose concrete is stronger in place
// than the cubes show: their value is multiplied by a conversion factor.
inline constexpr double kDefaultConversion = 1.10;
inline constexpr double kMinimumConversion = 0.95;
inline constexpr double kMaximumConversion = 1.10;

// The statistical method needs at least this many groups.
inline constexpr int kStatisticalMinimum = 10;
// The standard deviation used is never taken below this, in MPa.
inline constexpr double kMinimumDeviation = 2.5;
// λ1 and λ2 of the statistical method for 10–14, 15–19 and 20 or more groups.
inline constexpr double kLambda1Few = 1.15, kLambda1Some = 1.05, kLambda1Many = 0.95;
inline constexpr double kLambda2Few = 0.90, kLambda2More = 0.85;
// λ3 and λ4 of the non-statistical method.
inline constexpr double kLambda3Below60 = 1.15, kLambda3From60 = 1.10;
inline constexpr double kLambda4 = 0.95;

// Values that are equal on paper compare as equal although binary fractions differ.
inline constexpr double kCompareTolerance = 1e-9;
} // namespace strength

// fcu,k: the number after the first "C" of the grade ("C30" → 30, "C30P8" → 30,
// "水下C35" → 35; full-width characters and a lower-case c read too); none without one.
std::optional<int> DesignStrength(const QString& grade);
QString UnknownGradeText(const QString& grade);   // 强度等级无法识别：<grade>

// Half up to 0.1 MPa, as the test standard gives a strength (30.45 → 30.5).
double RoundToTenth(double value);

// The factor of a cube edge (100 → 0.95, 150 → 1, 200 → 1.05); none for another edge.
std::optional<double> SizeFactor(int edgeMm);

// How a group's value was taken from its three specimens.
enum class GroupBasis { Mean, Middle, Invalid };

struct GroupValue {
    GroupBasis basis = GroupBasis::Invalid;
    double value = 0;        // MPa, factors applied, rounded to 0.1; 0 when invalid
    double sizeFactor = 1;
    QString problem;         // why the group cannot count beyond the 15 % rule ("" otherwise)
    bool valid() const { return basis != GroupBasis::Invalid; }
};

// The representative value: the mean of the three; the middle one when the largest or the
// smallest is more than 15 % of the middle one off it; invalid when both are. Then the size
// factor, then half up to 0.1 MPa. From C60 only 150 mm cubes are accepted; a grade that
// cannot be read (fcuk none) only skips that check.
GroupValue RepresentativeValue(const std::array<double, 3>& strengths, int edgeMm, std::optional<int> fcuk);
QString HighGradeSizeText();   // C60及以上应采用标准尺寸试件

// A same-condition group: its representative value times the conversion factor, rounded again.
GroupValue SameConditionValue(const GroupValue& representative, double conversion);
bool IsAcceptedConversion(double conversion);

// The evaluation of a lot: n valid groups of one grade.
enum class LotMethod { Automatic, Statistical, NonStatistical };

struct LotEvaluation {
    int n = 0;
    int fcuk = 0;
    double mean = 0;
    std::optional<double> deviation;   // S; none for a single group
    double deviationUsed = 0;          // S, at least 2.5 MPa (statistical method only)
    double minimum = 0;
    LotMethod method = LotMethod::NonStatistical;   // the one applied
    bool statisticalRefused = false;   // asked for with fewer than 10 groups
    double meanFactor = 0;             // λ1 or λ3
    double minimumFactor = 0;          // λ2 or λ4
    double meanLimit = 0;              // fcu,k + λ1·S, or λ3·fcu,k
    double minimumLimit = 0;           // λ2·fcu,k, or λ4·fcu,k
    bool meanPasses = false;
    bool minimumPasses = false;
    bool passes() const { return meanPasses && minimumPasses; }
};

// None for an empty lot. Automatic takes the statistical method from 10 groups on; the
// statistical method asked for with fewer groups is refused and the lot is judged by the
// non-statistical one. Values are compared unrounded.
std::optional<LotEvaluation> EvaluateLot(const QVector<double>& values, int fcuk, LotMethod requested);

// The share of the design strength a form-removal group reached, against the member's need.
struct FormRemovalVerdict {
    double percent = 0;               // unrounded
    int percentShown = 0;             // truncated: a shown 75 % never hides 74.9 %
    std::optional<int> required;      // 50, 75 or 100; none when not given
    bool allowed = false;             // reached the requirement (false without one)
};
FormRemovalVerdict JudgeFormRemoval(double value, int fcuk, std::optional<int> required);

// The percentages a member needs before its forms are struck, as stored in gcxx.拆模要求.
inline constexpr int kFormRequirements[] = {50, 75, 100};
std::optional<int> FormRequirementFromText(const QString& text);   // "75" → 75; else none

} // namespace stolvar
