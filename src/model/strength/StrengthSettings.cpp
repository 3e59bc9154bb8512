#include "model/strength/StrengthSettings.h"

#include "core/Keys.h"
#include "core/SettingsStore.h"
#include "model/strength/StrengthRules.h"
#include "model/strength/StrengthValues.h"

namespace stolvar {

bool ParseConversionFactor(const QString& text, double* factor)
{
    const std::optional<double> value = ParseDecimal(text);
    if (!value || !IsAcceptedConversion(*value))
        return false;
    *factor = *value;
    return true;
}

double ReadConversionFactor(const SettingsStore& settings)
{
    double factor = strength::kDefaultConversion;
    const QString text = settings.read(keys::kConversionFactor);
    return !text.isEmpty() && ParseConversionFactor(text, &factor) ? factor : strength::kDefaultConversion;
}

QString FormatConversionFactor(double factor)
{
    return QString::number(factor, 'f', 2);
}

} // namespace stolvar
