#include "app/MainWindow.h"

namespace stolvar {

MainWindow::MainWindow(Environment env, QWidget* parent) : QMainWindow(parent), m_env(std::move(env))
{
    setWindowTitle(QStringLiteral("Stolvar2.5"));
}

MainWindow::~MainWindow() = default;

} // namespace stolvar
