#pragma once

// The large sample register (2,000 projects × 10 positions), written once per benchmark
// program into a temporary folder and opened.
#include "db/Database.h"
#include "sample/SampleRegister.h"

#include <QDate>
#include <QTemporaryDir>

#include <memory>

namespace stolvar::bench {

struct LargeSample {
    QTemporaryDir dir;
    std::shared_ptr<Database> db;

    explicit LargeSample(QDate today = {})
    {
        const SampleResult written = WriteSampleRegister(dir.path(), SampleSize::Large, kDefaultSampleSeed, today);
        if (!written.ok)
            qFatal("cannot write the large sample register: %s", qPrintable(written.message));
        db = Database::Open(written.databasePath);
        if (!db)
            qFatal("cannot open the large sample register");
    }
};

} // namespace stolvar::bench
