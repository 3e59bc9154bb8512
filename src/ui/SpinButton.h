#pragma once

#include <QWidget>

class QToolButton;

namespace stolvar {

// A pair of small arrow buttons, up above down.
class SpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void up();
    void down();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace stolvar
