#pragma once

#include <QByteArray>
#include <QDate>

namespace stolvar {

// A temperature logger's CSV export ("序号,时间,温度(℃)"): `readings` lines, one every
// `intervalSeconds` from midnight of `first`, the temperature climbing through each day.
// For the import benchmark and tests with files as large as a year of readings.
QByteArray SampleLoggerFile(const QDate& first, int readings, int intervalSeconds);

} // namespace stolvar
