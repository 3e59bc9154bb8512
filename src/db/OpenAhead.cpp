#include "db/OpenAhead.h"

#include "db/Database.h"

#include <QThread>

#include <chrono>
#include <future>
#include <mutex>

namespace stolvar {

namespace {

struct Ahead {
    std::mutex mutex;
    QString path;
    std::future<OpenedAhead> result;   // valid until taken
};

Ahead& TheAhead()
{
    static Ahead ahead;
    return ahead;
}

bool Holds(const Ahead& ahead, const QString& path)
{
    return ahead.result.valid() && ahead.path == path;
}

} // namespace

void StartOpeningAhead(const QString& path, AheadWork prepare)
{
    Ahead& ahead = TheAhead();
    const std::lock_guard guard(ahead.mutex);
    if (ahead.result.valid())
        return;
    // Qt takes the first thread that uses it for the program's main thread. The opening
    // thread makes Qt objects; were it first, QApplication, made later on the real main
    // thread, would find itself on another thread than Qt's main one and warn so. The
    // asking thread is made known to Qt before.
    QThread::currentThread();
    ahead.path = path;
    ahead.result = std::async(std::launch::async, [path, prepare = std::move(prepare)] {
        RegisterOpening opening = OpenRegister(path, false);
        OpenedAhead opened{opening.db, {}, opening.problem, opening.reason};
        if (opened.db && prepare)
            opened.prepared = prepare(*opened.db);
        return opened;
    });
}

std::optional<OpenedAhead> TakeOpenedAheadWithWork(const QString& path)
{
    Ahead& ahead = TheAhead();
    std::future<OpenedAhead> result;
    {
        const std::lock_guard guard(ahead.mutex);
        if (!Holds(ahead, path))
            return std::nullopt;
        result = std::move(ahead.result);
    }
    return result.get();
}

std::optional<std::shared_ptr<Database>> TakeOpenedAhead(const QString& path)
{
    auto opened = TakeOpenedAheadWithWork(path);
    if (!opened)
        return std::nullopt;
    return opened->db;
}

bool IsOpenedAhead(const QString& path)
{
    Ahead& ahead = TheAhead();
    const std::lock_guard guard(ahead.mutex);
    return Holds(ahead, path) && ahead.result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

} // namespace stolvar
