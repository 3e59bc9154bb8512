#pragma once

#include <QWidget>

namespace stolvar {

// Shown over the middle list while no project database is open: says what to do first
// and offers the two menu commands that open one.
class StartHint : public QWidget
{
    Q_OBJECT
public:
    // Covers `list` (and follows its size) until hidden.
    explicit StartHint(QWidget* list);

signals:
    void newDatabaseRequested();
    void openDatabaseRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace stolvar
