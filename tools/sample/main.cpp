#include "SampleArguments.h"

#include "sample/SampleRegister.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void PrintLine(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const stolvar::SampleArguments args = stolvar::ParseSampleArguments(QCoreApplication::arguments());
    if (!args.error.isEmpty()) {
        PrintLine(stderr, args.error);
        PrintLine(stderr, stolvar::SampleUsage());
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const stolvar::SampleResult result = stolvar::WriteSampleRegister(args.folder, args.size, args.seed);
    if (!result.ok) {
        PrintLine(stderr, result.message);
        return 1;
    }
    PrintLine(stdout, QStringLiteral("%1: %2 projects, %3 groups, %4 days of temperatures (%5 s)")
                          .arg(result.databasePath)
                          .arg(result.projects)
                          .arg(result.groups)
                          .arg(result.temperatureDays)
                          .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1));
    return 0;
}
