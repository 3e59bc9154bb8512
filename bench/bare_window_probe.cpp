// The yardstick for the start-up probe: an empty Qt main window, shown and timed the
// same way.
#include <QApplication>
#include <QMainWindow>
#include <QWindow>

#include <chrono>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1366, 768);
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    const auto shown = std::chrono::system_clock::now().time_since_epoch();
    std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(shown).count()));
    std::fflush(stdout);
    return 0;
}
