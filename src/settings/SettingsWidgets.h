#pragma once

class QCheckBox;
class QLineEdit;

namespace stolvar {

// The options at the bottom of "温度提示", named as their objectName.
struct SettingsWidgets {
    QCheckBox* autoCollectBox = nullptr;      // 选择框1 "自动采集温度"
    QCheckBox* autoMailBox = nullptr;         // 选择框2 "自动发送提醒邮件"
    QCheckBox* autoStartBox = nullptr;        // 选择框3 "开机启动"
    QLineEdit* leadDaysBox = nullptr;         // 编辑框3, the reminder lead time
};

} // namespace stolvar
