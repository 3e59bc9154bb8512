// Reads one logger file as the import does and prints what it read and the peak memory,
// so that the memory of a long file can be measured by hand:
//   build/bench/logger_memory_probe file.csv
#include "model/logger/LoggerFile.h"

#include <QFile>

#include <sys/resource.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <logger file>\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    const stolvar::LoggerFile read = stolvar::ReadLoggerFile(file);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("bytes %lld, readings %lld, skipped %lld, days %lld, peak resident %.1f MB%s%s\n",
                static_cast<long long>(file.size()), static_cast<long long>(read.readings),
                static_cast<long long>(read.skipped), static_cast<long long>(read.days.size()),
                usage.ru_maxrss / 1024.0, read.error.isEmpty() ? "" : ", error: ", read.error.toLocal8Bit().constData());
    return read.error.isEmpty() ? 0 : 1;
}
