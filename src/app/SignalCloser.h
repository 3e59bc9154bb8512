#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace stolvar {

// Turns SIGINT and SIGTERM into a normal close of the given window, so that the
// shutdown sequence (options stored, database closed) runs as for the close box.
class SignalCloser : public QObject
{
    Q_OBJECT
public:
    explicit SignalCloser(QWidget* window);
    ~SignalCloser() override;

private:
    void onSignal();

    QWidget* m_window;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace stolvar
