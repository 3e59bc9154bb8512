#pragma once

#include <QString>

namespace stolvar {

class SettingsStore;

// The conversion factor of same-condition strengths, [同养计算] 折算系数 in Temp.ini. A missing
// key, a text that is no number or a factor outside 0.95 … 1.10 reads as 1.10.
double ReadConversionFactor(const SettingsStore& settings);
// Reads a typed factor ("1.05", "1,05"); none when it is no number or outside 0.95 … 1.10.
bool ParseConversionFactor(const QString& text, double* factor);
QString FormatConversionFactor(double factor);   // "1.10"

} // namespace stolvar
