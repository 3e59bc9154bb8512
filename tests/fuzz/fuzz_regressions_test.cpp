// Replays the inputs kept from fuzzing (tests/data/fuzz-regressions/<target>/) and the
// fuzzers' seed inputs (fuzz/corpus/<target>/) through the fuzz targets' own checks, so
// that a fault once found stays fixed without running a fuzzer.

#include "../../fuzz/checks/ConversionChecks.h"
#include "../../fuzz/checks/ImportChecks.h"
#include "../../fuzz/checks/IniChecks.h"
#include "../../fuzz/checks/SmtpChecks.h"
#include "../../fuzz/checks/WeatherChecks.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

struct FuzzTarget {
    const char* name;
    QString (*check)(const QByteArray& input);
};

const FuzzTarget kTargets[] = {
    {"fuzz_date_text", fuzz::CheckDateText},     {"fuzz_number_text", fuzz::CheckNumberText},
    {"fuzz_weather_page", fuzz::CheckWeatherPage}, {"fuzz_smtp_reply", fuzz::CheckSmtpReply},
    {"fuzz_ini", fuzz::CheckIni},           {"fuzz_meteo_answer", fuzz::CheckMeteoAnswer},
    {"fuzz_logger_file", fuzz::CheckLoggerFile},
};

void PrintTo(const FuzzTarget& target, std::ostream* out)
{
    *out << target.name;
}

QStringList FilesIn(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FuzzRegressions : public ::testing::TestWithParam<FuzzTarget>
{
};

TEST_P(FuzzRegressions, EveryKeptInputKeepsTheInvariants)
{
    const QString name = QString::fromLatin1(GetParam().name);
    const QString data = QStringLiteral(STOLVAR_TEST_DATA);
    const QStringList seeds = FilesIn(data + QStringLiteral("/../../fuzz/corpus/") + name);
    ASSERT_FALSE(seeds.isEmpty()) << "no seed inputs for " << GetParam().name;
    for (const QString& path : seeds + FilesIn(data + QStringLiteral("/fuzz-regressions/") + name))
        EXPECT_EQ(GetParam().check(ReadAll(path)).toStdString(), "") << path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, ::testing::ValuesIn(kTargets),
                         [](const auto& target) { return std::string(target.param.name); });

} // namespace
} // namespace stolvar
