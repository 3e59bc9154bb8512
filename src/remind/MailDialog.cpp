#include "remind/MailDialog.h"

#include "core/Conversions.h"
#include "core/Keys.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"
#include "model/mail/SmtpClient.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace stolvar {

namespace {

QLineEdit* NamedEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton* NamedButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

MailDialog::MailDialog(QString storePath, Messages& messages, QWidget* parent, const SettingsStore* settings)
    : QDialog(parent), m_storePath(std::move(storePath)), m_messages(messages), m_settings(settings)
{
    setObjectName(QStringLiteral("设置收件人地址"));
    setWindowTitle(QStringLiteral("设置收件人地址"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildServerBox());
    layout->addWidget(buildRecipientBox());
    m_send = NamedButton(QStringLiteral("确定1"), QStringLiteral("发送邮件"), this);
    connect(m_send, &QPushButton::clicked, this, &MailDialog::sendRequested);
    m_savedNote = new QLabel(this);
    m_savedNote->setObjectName(QStringLiteral("保存提示标签"));
    layout->addWidget(m_savedNote);
    layout->addWidget(m_send);
    fill();
}

QWidget* MailDialog::buildServerBox()
{
    auto* box = new QGroupBox(QStringLiteral("发信服务器配置"), this);
    auto* form = new QFormLayout(box);
    m_server = NamedEdit(QStringLiteral("编辑框1"), box);
    m_port = NamedEdit(QStringLiteral("编辑框2"), box);
    m_user = NamedEdit(QStringLiteral("编辑框3"), box);
    m_password = NamedEdit(QStringLiteral("编辑框4"), box);
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("服务器地址："), m_server);
    form->addRow(QStringLiteral("端口号："), m_port);
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("密码："), m_password);
    m_security = new QComboBox(box);
    m_security->setObjectName(QStringLiteral("加密方式框"));
    for (SmtpSecurity security : {SmtpSecurity::Auto, SmtpSecurity::Implicit, SmtpSecurity::StartTls, SmtpSecurity::Plain})
        m_security->addItem(SmtpSecurityText(security));
    m_security->setToolTip(QStringLiteral("自动：端口465和994从连接起加密，其他端口在服务器提供STARTTLS时加密"));
    form->addRow(QStringLiteral("加密方式："), m_security);
    auto* save = NamedButton(QStringLiteral("按钮1"), QStringLiteral("保存"), box);
    connect(save, &QPushButton::clicked, this, &MailDialog::saveServer);
    form->addRow(save);
    return box;
}

QWidget* MailDialog::buildRecipientBox()
{
    auto* box = new QGroupBox(QStringLiteral("电子邮箱配置"), this);
    auto* form = new QFormLayout(box);
    m_recipients = NamedEdit(QStringLiteral("收件人编辑框"), box);
    form->addRow(QStringLiteral("收信地址："), m_recipients);
    auto* note = new QLabel(QStringLiteral("多个邮箱请在邮箱号后面使用\";\"（分号）或者\",\"(逗号）分割。"), box);
    note->setObjectName(QStringLiteral("标签3"));
    note->setWordWrap(true);
    form->addRow(note);
    auto* save = NamedButton(QStringLiteral("按钮3"), QStringLiteral("保存"), box);
    connect(save, &QPushButton::clicked, this, &MailDialog::saveRecipients);
    form->addRow(save);
    return box;
}

void MailDialog::setSending(bool sending)
{
    m_send->setEnabled(!sending);
}

void MailDialog::fill()
{
    QString error;
    const MailSettings s = LoadMailSettings(m_storePath, &error);
    if (!error.isEmpty())
        reportFailure(QStringLiteral("邮箱设置无法读取：") + error);
    m_server->setText(s.server);
    m_port->setText(QString::number(s.port));
    m_user->setText(s.user);
    m_password->setText(s.password);
    m_recipients->setText(s.recipients);
    if (m_settings)
        m_security->setCurrentText(SmtpSecurityText(SmtpSecurityFromText(m_settings->read(keys::kMailSecurity))));
}

void MailDialog::saveServer()
{
    const int port = TruncateToInt(ParseNumberText(m_port->text()));
    if (port < kMinimumPort || port > kMaximumPort) {
        m_messages.show(this, QStringLiteral("端口号应为1到65535之间的整数，未保存。"));
        return;
    }
    QString error;
    if (!SaveMailServer(m_storePath, m_server->text().trimmed(), port, m_user->text().trimmed(), m_password->text(),
                        &error))
        return reportFailure(QStringLiteral("发信服务器配置保存失败：") + error);
    // Written only when it changes, so a clerk who never picks one keeps no key (自动).
    const QString chosen = m_security->currentText();
    if (m_settings && SmtpSecurityText(SmtpSecurityFromText(m_settings->read(keys::kMailSecurity))) != chosen)
        m_settings->write(keys::kMailSecurity, chosen);
    announceSaved();
}

void MailDialog::saveRecipients()
{
    QString error;
    if (!SaveMailRecipients(m_storePath, m_recipients->text(), &error))
        return reportFailure(QStringLiteral("收信地址保存失败：") + error);
    announceSaved();
}

// Reads back what the store now holds, so that memory and file never differ.
void MailDialog::announceSaved()
{
    QString error;
    const MailSettings stored = LoadMailSettings(m_storePath, &error);
    if (!error.isEmpty())
        return reportFailure(QStringLiteral("邮箱设置无法读取：") + error);
    m_savedNote->setText(QStringLiteral("邮箱设置已保存"));
    emit settingsSaved(stored);
}

void MailDialog::reportFailure(const QString& error)
{
    m_messages.show(this, error, Messages::DefaultTitle(), Messages::Icon::Warning);
}

} // namespace stolvar
