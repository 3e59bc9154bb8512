#pragma once

#include <QFrame>

namespace stolvar {

// A thin vertical bar the clerk drags sideways; reports where it was and where it went
// (x in its parent's coordinates) when the drag ends.
class SplitterBar : public QFrame
{
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);

    // Moves the bar as a drag to newX would; emits moved().
    void dragTo(int newX);

signals:
    void moved(int oldX, int newX);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_pressOffset = 0;
};

} // namespace stolvar
