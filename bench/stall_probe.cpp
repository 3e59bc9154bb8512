// Stall monitor: replays the clerk's everyday actions on a copy of a program folder (the
// huge sample register: stolvar-sample <folder> --huge) and prints, for each action, the
// longest time the UI thread was blocked. A precise 1 ms timer runs in the program's own
// event loop; a tick that comes late by more than its interval was held up by whatever ran
// on the UI thread in between. Hand-run, release build:
//   QT_QPA_PLATFORM=offscreen build-release/bench/stall_probe /tmp/huge [repeats] [action]
// where `action` is part of the names of the actions to replay (all when it is left out);
// STOLVAR_STALL_EXPLAIN=<ms> also lists the events of each run that took longer than that.
#include "app/MainWindow.h"
#include "app/WindowWidgets.h"
#include "ui/AppContext.h"
#include "core/Keys.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"
#include "register/RegisterController.h"
#include "ui/Pages.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include <sys/resource.h>

namespace stolvar {
namespace {

// Every message is taken as read and every question answered yes, without a dialog.
class QuietMessages : public Messages
{
public:
    void show(QWidget*, const QString&, const QString&, Icon) override {}
    bool ask(QWidget*, const QString&, const QString&, Icon) override { return true; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

// The longest gap between two ticks of a 1 ms precise timer, less the interval.
class StallMonitor
{
public:
    StallMonitor()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last - 1'000'000);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    void reset()
    {
        m_last = m_clock.nsecsElapsed();
        m_longest = 0;
    }
    double longestMs() const { return double(m_longest) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

void Spin(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Blocks {
    double longest = 0;   // the longest block while the action and what follows it ran
    double action = 0;    // the action's own call, the rest came after it in the event loop
};

// The longest block while `action` runs from the event loop and its results (also those
// of workers) are applied: 400 ms, and as long as the workers it started still run.
Blocks Measure(StallMonitor& monitor, AppContext& context, const std::function<void()>& action)
{
    Spin(50);
    monitor.reset();
    Blocks blocks;
    QTimer::singleShot(0, [&] {
        QElapsedTimer call;
        call.start();
        action();
        blocks.action = double(call.nsecsElapsed()) / 1e6;
    });
    Spin(400);
    for (QElapsedTimer waited; waited.isValid() ? waited.elapsed() < 30000 : (waited.start(), true);) {
        if (context.tasks.pool().activeThreadCount() == 0 && context.writes.idle())
            break;
        Spin(20);
    }
    Spin(100);   // the last results are applied
    blocks.longest = monitor.longestMs();
    return blocks;
}

QModelIndex PositionNode(const QAbstractItemModel& model, int project, int position)
{
    return model.index(position, 0, model.index(project, 0));
}

// Copies the folder's files; Temp.ini names the register by its full path, so the copy's
// is pointed at the copied register (the actions must never write to the original).
bool CopyFolder(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    SettingsStore settings(QDir(to).filePath(QStringLiteral("Temp.ini")));
    const QFileInfo registerFile(settings.read(keys::kDatabaseFile));
    if (registerFile.absolutePath() == source.absolutePath())
        settings.write(keys::kDatabaseFile, QDir(to).filePath(registerFile.fileName()));
    return true;
}

// An action measured again and again must change something each time: `prepare` (not
// measured, before each run) puts the window back where the action starts from, and
// `run` gets the run's number (selecting the same node twice, or showing the page that is
// already shown, would measure nothing).
struct Action {
    const char* name;
    std::function<void(int run)> run;
    std::function<void()> prepare = [] {};
};

int Run(const QString& folder, int repeats, const QString& only)
{
    QTemporaryDir home;
    if (!home.isValid() || !CopyFolder(folder, home.path())) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(folder));
        return 1;
    }
    Environment env;
    env.home = home.path();
    env.messages = std::make_shared<QuietMessages>();
    MainWindow window(env);
    window.show();
    QElapsedTimer started;
    started.start();
    while (!window.isStartedUp())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    WindowWidgets& ui = window.widgets();
    QTreeView* tree = ui.registerUi.tree;
    const QAbstractItemModel& model = *tree->model();
    const int projects = model.rowCount();
    std::printf("register: %d projects, started up in %lld ms\n", projects, started.elapsed());
    if (projects < 2)
        return 1;

    // The checks and scans the start-up leaves running on workers end first: the actions
    // are measured on a window at rest.
    window.context().tasks.waitForDone();
    Spin(500);
    StallMonitor monitor;
    int added = 0;
    int deleted = 0;
    int day = 0;
    RegisterWidgets& r = ui.registerUi;
    const auto showPage = [&](int page) { return [&, page](int) { ui.frame.tabs->setCurrentIndex(page); }; };
    const auto fromRegister = [&] { ui.frame.tabs->setCurrentIndex(kInfoPage); };
    const auto fromTables = [&] { ui.frame.tabs->setCurrentIndex(kTable1Page); };
    // Projects far down the tree, collapsed and never read before the run that selects them.
    const auto farProject = [&](int run) { return model.rowCount() - 1 - run; };
    const std::vector<Action> actions = {
        {"select a position", [&](int run) { tree->setCurrentIndex(PositionNode(model, 1, run % 2)); }},
        {"scroll the tree a page",
         [&](int) { tree->verticalScrollBar()->setValue(tree->verticalScrollBar()->value() + tree->verticalScrollBar()->pageStep()); }},
        {"show table 1", showPage(kTable1Page), fromRegister},
        {"show table 2", showPage(kTable2Page), fromRegister},
        {"show the curve", showPage(kCurvePage), fromRegister},
        {"show the worklist", showPage(kWorklistPage), fromRegister},
        {"show the strength evaluation", showPage(kStrengthPage), fromRegister},
        {"evaluate every project / one",
         [&](int run) { ui.evaluationUi.projectBox->setCurrentIndex(run % 2 == 0 ? 0 : 1); },
         [&] { ui.frame.tabs->setCurrentIndex(kStrengthPage); }},
        {"back to the register", showPage(kInfoPage), fromTables},
        {"add a group",
         [&](int) {
             tree->setCurrentIndex(PositionNode(model, 0, 0));
             r.positionBox->setText(QStringLiteral("测试部位%1").arg(++added));
             r.addGroupButton->click();
         }},
        {"add a temperature",
         [&](int) {
             // Days the sample has not stored (it holds the coming days of a forecast).
             ui.curingUi.temperatureDateBox->setText(
                 QDate::currentDate().addDays(1000 + ++day).toString(QStringLiteral("yyyy-M-d")));
             ui.curingUi.highBox->setText(QStringLiteral("20"));
             ui.curingUi.lowBox->setText(QStringLiteral("10"));
             ui.curingUi.addTemperatureButton->click();
         }},
        {"filter the list", [&](int) {
             r.keywordBox->setText(QStringLiteral("层"));
             r.keywordButton->click();
         }},
        {"filter every project", [&](int) {
             r.allProjectsBox->setChecked(true);
             r.keywordBox->setText(QStringLiteral("测试部位"));
             r.keywordButton->click();
             r.allProjectsBox->setChecked(false);
         }},
        {"select a far position",
         [&](int run) {
             const QModelIndex project = model.index(farProject(run), 0);
             tree->setCurrentIndex(model.index(0, 0, project));
         }},
        {"delete a group",
         [&](int) {
             window.registerView().selectPosition(model.index(0, 0).data().toString(),
                                                  QStringLiteral("测试部位%1").arg(++deleted));
             r.deleteGroupButton->click();
         }},
    };
    std::printf("%-24s %8s %8s %8s   (ms of UI-thread block, %d runs; call: the action's own call, median)\n",
                "action", "median", "longest", "call", repeats);
    for (const Action& action : actions) {
        if (!only.isEmpty() && !QString::fromUtf8(action.name).contains(only))
            continue;
        std::vector<double> longest;
        std::vector<double> calls;
        for (int i = 0; i < repeats; ++i) {
            action.prepare();
            if (qEnvironmentVariableIsSet("STOLVAR_STALL_EXPLAIN"))
                std::fprintf(stderr, "%s, run %d:\n", action.name, i + 1);
            const Blocks blocks = Measure(monitor, window.context(), [&] { action.run(i); });
            longest.push_back(blocks.longest);
            calls.push_back(blocks.action);
        }
        std::sort(longest.begin(), longest.end());
        std::sort(calls.begin(), calls.end());
        std::printf("%-24s %8.1f %8.1f %8.1f\n", action.name, longest[longest.size() / 2], longest.back(),
                    calls[calls.size() / 2]);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace
} // namespace stolvar

namespace {

// The UI thread's wall-clock and processor time over a span, and how often it waited, was
// preempted or read a page from disk in it (less processor than wall time: it waited, or
// another thread had the core).
class ThreadSpan
{
public:
    ThreadSpan()
    {
        m_wall.start();
        m_processor = ProcessorMs();
        getrusage(RUSAGE_THREAD, &m_usage);
    }

    double wallMs() const { return double(m_wall.nsecsElapsed()) / 1e6; }

    QByteArray describe() const
    {
        rusage now{};
        getrusage(RUSAGE_THREAD, &now);
        char text[160];
        std::snprintf(text, sizeof text, "%5.1f ms (processor %5.1f; waits %ld, preempted %ld, page reads %ld)", wallMs(),
                      ProcessorMs() - m_processor, now.ru_nvcsw - m_usage.ru_nvcsw, now.ru_nivcsw - m_usage.ru_nivcsw,
                      now.ru_majflt - m_usage.ru_majflt);
        return text;
    }

private:
    static double ProcessorMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }

    QElapsedTimer m_wall;
    double m_processor = 0;
    rusage m_usage{};
};

QByteArray Name(const QObject* object)
{
    QByteArray name = QByteArray(object->metaObject()->className()) + ' ' + object->objectName().toUtf8();
    if (object->parent())
        name += " in " + object->parent()->objectName().toUtf8();
    return name;
}

// With STOLVAR_STALL_EXPLAIN=<ms> set, names each event the event loop handed out that took
// longer than that many milliseconds (2 when the value is no number), with its receiver and
// its ThreadSpan, and under it the widgets it painted that took longer than a quarter of it.
class ExplainingApplication : public QApplication
{
public:
    ExplainingApplication(int& argc, char** argv)
        : QApplication(argc, argv),
          m_explain(qEnvironmentVariableIsSet("STOLVAR_STALL_EXPLAIN")),
          m_threshold(ThresholdMs(qEnvironmentVariable("STOLVAR_STALL_EXPLAIN")))
    {
    }

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!m_explain || (m_depth > 0 && event->type() != QEvent::Paint))
            return QApplication::notify(receiver, event);
        ++m_depth;
        const ThreadSpan span;
        const bool done = QApplication::notify(receiver, event);
        --m_depth;
        if (m_depth > 0) {
            if (span.wallMs() > m_threshold / 4)
                m_paints += "      painted " + span.describe() + ' ' + Name(receiver) + '\n';
        } else {
            if (span.wallMs() > m_threshold)
                std::fprintf(stderr, "  %s %s, event type %d\n%s", span.describe().constData(),
                             Name(receiver).constData(), int(event->type()), m_paints.constData());
            m_paints.clear();
        }
        return done;
    }

private:
    static double ThresholdMs(const QString& value)
    {
        bool number = false;
        const double ms = value.toDouble(&number);
        return number ? std::max(0.1, ms) : 2.0;
    }

    bool m_explain;
    double m_threshold;   // ms
    int m_depth = 0;
    QByteArray m_paints;   // of the event being handed out
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ExplainingApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: stall_probe <program folder> [repeats] [part of an action's name]\n");
        return 2;
    }
    return stolvar::Run(QString::fromLocal8Bit(argv[1]), argc > 2 ? std::max(1, std::atoi(argv[2])) : 5,
                        argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
}
