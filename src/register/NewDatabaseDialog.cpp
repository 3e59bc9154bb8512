#include "register/NewDatabaseDialog.h"

#include "core/Messages.h"
#include "db/ProjectFiles.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace stolvar {

NewDatabaseDialog::NewDatabaseDialog(QString folder, Messages& messages, QWidget* parent)
    : QDialog(parent), m_folder(std::move(folder)), m_messages(messages), m_name(new QLineEdit(this))
{
    setObjectName(QStringLiteral("新建工程数据库"));
    setWindowTitle(QStringLiteral("新建工程数据库"));
    m_name->setObjectName(QStringLiteral("编辑框1"));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("确定"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("取消"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请输入要新建的数据库名称"), this));
    layout->addWidget(m_name);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &NewDatabaseDialog::createDatabase);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void NewDatabaseDialog::createDatabase()
{
    const CreateOutcome outcome = CreateProjectDatabaseFile(m_folder, m_name->text());
    m_messages.show(this, outcome.message);
    if (!outcome.created)
        return;
    m_created = QDir(m_folder).filePath(outcome.fileName);
    accept();
}

} // namespace stolvar
