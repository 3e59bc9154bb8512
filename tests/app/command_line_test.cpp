#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

struct CommandLineCase {
    const char* name;
    QStringList arguments;
    CommandLine::Action action;
    int exitCode;
    const char* home;
    const char* textContains;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLineTest, Parses)
{
    const CommandLineCase& c = GetParam();
    QStringList arguments{QStringLiteral("stolvar")};
    arguments += c.arguments;
    const CommandLine result = ParseCommandLine(arguments);
    EXPECT_EQ(result.action, c.action);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_EQ(result.home, QString::fromUtf8(c.home));
    EXPECT_TRUE(result.text.contains(QString::fromUtf8(c.textContains))) << result.text.toStdString();
}

using A = CommandLine::Action;
INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(CommandLineCase{"none", {}, A::Run, 0, "", ""},
                      CommandLineCase{"home", {"--home", "/tmp/site"}, A::Run, 0, "/tmp/site", ""},
                      CommandLineCase{"homeEquals", {"--home=/tmp/工地"}, A::Run, 0, "/tmp/工地", ""},
                      CommandLineCase{"version", {"--version"}, A::Print, 0, "", "stolvar 2.5\n"},
                      CommandLineCase{"help", {"--help"}, A::Print, 0, "", "--home <FOLDER>"},
                      CommandLineCase{"helpShort", {"-h"}, A::Print, 0, "", "--version"},
                      CommandLineCase{"unknown", {"--colour"}, A::Print, 2, "", "colour"},
                      CommandLineCase{"homeWithoutFolder", {"--home"}, A::Print, 2, "", "home"},
                      CommandLineCase{"stray", {"file.dat"}, A::Print, 2, "", "file.dat"}),
    [](const ::testing::TestParamInfo<CommandLineCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace stolvar
