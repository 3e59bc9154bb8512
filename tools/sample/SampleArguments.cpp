#include "SampleArguments.h"

#include "sample/SampleRegister.h"

#include <QCommandLineParser>

namespace stolvar {

QString SampleUsage()
{
    return QStringLiteral("usage: stolvar-sample <folder> [--large|--huge|--wide] [--seed N]");
}

SampleArguments ParseSampleArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption large(QStringLiteral("large"));
    const QCommandLineOption huge(QStringLiteral("huge"));
    const QCommandLineOption wide(QStringLiteral("wide"));
    const QCommandLineOption seed(QStringLiteral("seed"), QString(), QStringLiteral("N"),
                                  QString::number(kDefaultSampleSeed));
    parser.addOptions({large, huge, wide, seed});
    parser.addPositionalArgument(QStringLiteral("folder"), QString());

    SampleArguments out;
    if (!parser.parse(arguments)) {
        out.error = parser.errorText();
        return out;
    }
    bool seedOk = false;
    out.seed = parser.value(seed).toUInt(&seedOk);
    if (parser.positionalArguments().size() != 1)
        out.error = QStringLiteral("one folder expected");
    else if (int(parser.isSet(large)) + int(parser.isSet(huge)) + int(parser.isSet(wide)) > 1)
        out.error = QStringLiteral("--large, --huge and --wide exclude each other");
    else if (!seedOk)
        out.error = QStringLiteral("--seed takes a number from 0 to 4294967295");
    if (!out.error.isEmpty())
        return out;
    out.folder = parser.positionalArguments().constFirst();
    out.size = parser.isSet(wide)    ? SampleSize::Wide
               : parser.isSet(huge)  ? SampleSize::Huge
               : parser.isSet(large) ? SampleSize::Large
                                     : SampleSize::Site;
    return out;
}

} // namespace stolvar
