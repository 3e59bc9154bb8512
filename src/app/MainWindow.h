#pragma once

#include "app/Environment.h"

#include <QMainWindow>

namespace stolvar {

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Environment env, QWidget* parent = nullptr);
    ~MainWindow() override;

private:
    Environment m_env;
};

} // namespace stolvar
