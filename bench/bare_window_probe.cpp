// The yardstick for the start-up probe: an empty Qt main window, shown and timed the
// same way (to the end of its first painting). Given a text, the window shows it in one
// label: the least a window with a Chinese caption costs (fontconfig read, a Latin font and a
// Chinese fallback font loaded, the text shaped), against which the program's own captions
// can be weighed.
#include "PaintWatch.h"

#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    PaintWatch app(argc, argv);
    QMainWindow window;
    window.resize(1366, 768);
    if (argc > 1) {
        auto* caption = new QLabel(QString::fromLocal8Bit(argv[1]), &window);
        caption->move(10, 10);
        caption->adjustSize();
    }
    window.show();
    while (!app.firstPainted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    Print(app.firstPainted);
    return 0;
}
