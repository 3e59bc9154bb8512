// Opens a register ahead the way the program does, before anything on this thread has
// used Qt, with work on the opened file that makes a Qt object on the opening thread and
// keeps that thread alive until Qt has started here. Exits 0 when Qt took this thread for
// the main thread and the register came back, 1 otherwise.
#include "db/Database.h"
#include "db/OpenAhead.h"

#include <QCoreApplication>
#include <QThread>

#include <any>
#include <chrono>
#include <cstdio>
#include <future>

namespace {

bool g_warnedAboutThread = false;

void Watch(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (message.contains(QLatin1String("main() thread")))
        g_warnedAboutThread = true;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    std::promise<void> qtUsedThere;
    std::promise<void> qtStartedHere;
    std::shared_future<void> started = qtStartedHere.get_future().share();
    stolvar::StartOpeningAhead(path, [&qtUsedThere, started](const stolvar::Database&) {
        const QObject madeOnTheOpeningThread;
        qtUsedThere.set_value();
        started.wait_for(std::chrono::seconds(10));
        return std::any(true);
    });
    if (qtUsedThere.get_future().wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        return 2;
    qInstallMessageHandler(Watch);
    QCoreApplication app(argc, argv);
    qtStartedHere.set_value();
    const auto taken = stolvar::TakeOpenedAheadWithWork(path);
    const bool opened = taken && taken->db && taken->prepared.has_value();
    return opened && !g_warnedAboutThread ? 0 : 1;
}
