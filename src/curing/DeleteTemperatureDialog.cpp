#include "curing/DeleteTemperatureDialog.h"

#include "core/Conversions.h"
#include "core/Messages.h"
#include "model/temperatures/TemperatureStore.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace stolvar {

namespace {

QPushButton* MakeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(text);
    // Enter in the date box deletes; it must not also press a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

DeleteTemperatureDialog::DeleteTemperatureDialog(std::shared_ptr<Database> db, QDateTime today,
                                                 Messages& messages, QWidget* parent)
    : QDialog(parent), m_db(std::move(db)), m_messages(messages)
{
    const QString title = QStringLiteral("温度记录删除");
    setObjectName(title);
    setWindowTitle(title);
    setModal(true);

    m_dateBox = new QLineEdit(FormatLongDate(WallTime(today.date())), this);
    m_dateBox->setObjectName(QStringLiteral("编辑框1"));
    auto* hint = new QLabel(QStringLiteral("例如：2008年10月01日"), this);
    hint->setObjectName(QStringLiteral("要修改的温度"));
    QPushButton* remove = MakeButton(QStringLiteral("确定删除"), this);
    QPushButton* close = MakeButton(QStringLiteral("退出"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("要删除的日期："), this), 0, 0);
    layout->addWidget(m_dateBox, 0, 1, 1, 2);
    layout->addWidget(hint, 1, 1, 1, 2);
    layout->addWidget(remove, 2, 1);
    layout->addWidget(close, 2, 2);

    connect(remove, &QPushButton::clicked, this, &DeleteTemperatureDialog::deleteTypedDay);
    connect(m_dateBox, &QLineEdit::returnPressed, this, &DeleteTemperatureDialog::deleteTypedDay);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

// Asks first, naming the day; says what was deleted, or that the day has no record.
void DeleteTemperatureDialog::deleteTypedDay()
{
    if (!m_db) {
        m_messages.show(this, Messages::NoDatabaseText());
        return;
    }
    QDateTime typed;
    const bool isDay = TryParseDateText(m_dateBox->text(), &typed);
    const QString day = isDay ? FormatLongDate(WallTime(typed.date())) : QString();
    if (isDay && TemperatureRowsOn(*m_db, typed.date()) == 0) {
        m_messages.show(this, day + QStringLiteral("没有温度记录。"));
        return;
    }
    if (isDay && !m_messages.ask(this, QStringLiteral("确定删除%1的温度记录吗？").arg(day), Messages::DefaultTitle(),
                                 Messages::Icon::Warning))
        return;
    const StoreResult result = DeleteTemperatureRecord(*m_db, m_dateBox->text());
    m_messages.show(this, result.message.isEmpty() ? QStringLiteral("已删除%1的温度记录。").arg(day) : result.message);
    if (result.rows > 0)
        emit recordsDeleted();
}

} // namespace stolvar
