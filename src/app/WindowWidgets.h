#pragma once

#include "curing/CuringWidgets.h"
#include "register/RegisterWidgets.h"
#include "remind/ReminderWidgets.h"
#include "settings/SettingsWidgets.h"
#include "strength/StrengthWidgets.h"

#include <array>

class QLabel;
class QMenu;
class QStatusBar;
class QTabWidget;
class QTimer;
class QWidget;

namespace stolvar {

class SplitterBar;

// The frame of the main window: what no subsystem owns.
struct FrameWidgets {
    QWidget* central = nullptr;
    SplitterBar* splitter1 = nullptr;         // 分隔条1
    SplitterBar* splitter2 = nullptr;         // 分隔条2
    QTabWidget* tabs = nullptr;               // 高级选择夹1
    QStatusBar* statusBar = nullptr;          // 状态条1 and its six parts
    std::array<QLabel*, 6> statusParts{};
    QTimer* reminderTimer = nullptr;          // 时钟1
    QMenu* helpMenu = nullptr;                // "帮助(&H)"
};

// Every control of the main window: the frame, and each subsystem's own controls, which
// the window hands to that subsystem's controller alone.
struct WindowWidgets {
    FrameWidgets frame;
    RegisterWidgets registerUi;
    CuringWidgets curingUi;
    WeatherWidgets weatherUi;
    ReminderWidgets reminderUi;
    SettingsWidgets optionsUi;
    WorklistWidgets worklistUi;
    ResultsPanelWidgets resultsUi;
    EvaluationWidgets evaluationUi;
};

// Designed size of the central area (window designed at 1366 × 725).
inline constexpr int kDesignWidth = 1366;
inline constexpr int kDesignHeight = 700;

// Status bar parts with texts of their own.
enum StatusPart { kDatabaseStatePart = 2, kMailStatePart = 4, kVersionPart = 5 };

} // namespace stolvar
