#pragma once

#include "sample/SamplePlan.h"

#include <QDate>
#include <QString>

namespace stolvar {

inline constexpr quint32 kDefaultSampleSeed = 20081001;

// The project database a sample folder holds.
QString SampleDatabaseName();

struct SampleResult {
    bool ok = false;
    QString message;        // why nothing (or not everything) was written
    QString databasePath;
    int projects = 0;
    int groups = 0;
    int temperatureDays = 0;
};

// Writes a program folder to try the program on: Temp.ini naming the sample database
// and a selected position, the password-protected database "样例工程.dat" with a
// register and its daily temperatures, and the mail store `help` with its placeholders.
// An existing sample database is never overwritten. `today` defaults to the clock's.
SampleResult WriteSampleRegister(const QString& folder, SampleSize size, quint32 seed = kDefaultSampleSeed,
                                 QDate today = {});

} // namespace stolvar
