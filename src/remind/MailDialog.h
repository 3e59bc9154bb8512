#pragma once

#include "model/mail/MailSettings.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace stolvar {

class Messages;
class SettingsStore;

// "设置收件人地址": the SMTP account and the recipient list of the store `help`, the
// encryption (加密方式框, kept in Temp.ini when `settings` is given), and a button that asks
// for a reminder mail at once. Each save says so in the label 保存提示标签.
class MailDialog : public QDialog
{
    Q_OBJECT

public:
    MailDialog(QString storePath, Messages& messages, QWidget* parent = nullptr,
               const SettingsStore* settings = nullptr);

    // While a mail is being sent, "发送邮件" cannot start another.
    void setSending(bool sending);

signals:
    // After every successful save: the whole record as now stored, to be used at once.
    void settingsSaved(const stolvar::MailSettings& settings);
    // "发送邮件": the owner starts the sending on a worker thread.
    void sendRequested();

private:
    QWidget* buildServerBox();
    QWidget* buildRecipientBox();
    void fill();
    void saveServer();
    void saveRecipients();
    void announceSaved();
    void reportFailure(const QString& error);

    QString m_storePath;
    Messages& m_messages;
    const SettingsStore* m_settings;
    QComboBox* m_security = nullptr;    // 加密方式框
    QLabel* m_savedNote = nullptr;      // 保存提示标签
    QLineEdit* m_server = nullptr;      // 编辑框1
    QLineEdit* m_port = nullptr;        // 编辑框2
    QLineEdit* m_user = nullptr;        // 编辑框3
    QLineEdit* m_password = nullptr;    // 编辑框4
    QLineEdit* m_recipients = nullptr;  // 收件人编辑框
    QPushButton* m_send = nullptr;      // 确定1
};

} // namespace stolvar
