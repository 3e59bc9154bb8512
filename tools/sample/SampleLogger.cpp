#include "sample/SampleLogger.h"

#include <cstdio>

namespace stolvar {

QByteArray SampleLoggerFile(const QDate& first, int readings, int intervalSeconds)
{
    QByteArray bytes = "序号,时间,温度(℃)\n";
    bytes.reserve(qsizetype(readings) * 40);
    char line[64];
    for (int i = 0; i < readings; ++i) {
        const qint64 elapsed = qint64(i) * intervalSeconds;
        const int second = int(elapsed % 86400);
        const QDate day = first.addDays(elapsed / 86400);
        const int n = std::snprintf(line, sizeof line, "%d,%04d-%02d-%02d %02d:%02d:%02d,%.1f\n", i + 1, day.year(),
                                    day.month(), day.day(), second / 3600, second / 60 % 60, second % 60,
                                    5.0 + second / 36000.0);
        bytes.append(line, n);
    }
    return bytes;
}

} // namespace stolvar
