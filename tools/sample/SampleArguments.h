#pragma once

#include "sample/SamplePlan.h"

#include <QString>
#include <QStringList>

namespace stolvar {

// What the command line of stolvar-sample asks for.
struct SampleArguments {
    QString folder;
    SampleSize size = SampleSize::Site;
    quint32 seed = 0;
    QString error;   // not empty: the command line is wrong, nothing is to be written
};

// stolvar-sample <folder> [--large|--huge|--wide] [--seed N]
SampleArguments ParseSampleArguments(const QStringList& arguments);
QString SampleUsage();

} // namespace stolvar
