#include "app/StartHint.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace stolvar {

namespace {

QPushButton* CommandButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(text);
    button->setMinimumHeight(button->sizeHint().height() * 5 / 4);
    return button;
}

} // namespace

StartHint::StartHint(QWidget* list) : QWidget(list)
{
    setObjectName(QStringLiteral("开始提示"));
    setAutoFillBackground(true);
    auto* text = new QLabel(QStringLiteral("还没有打开工程数据库。\n新建一个工程数据库开始登记试块，或打开已有的工程数据库。"),
                            this);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    auto* create = CommandButton(QStringLiteral("新建工程数据库"), this);
    auto* open = CommandButton(QStringLiteral("打开工程数据库"), this);
    connect(create, &QPushButton::clicked, this, &StartHint::newDatabaseRequested);
    connect(open, &QPushButton::clicked, this, &StartHint::openDatabaseRequested);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch(2);
    layout->addWidget(text);
    layout->addSpacing(12);
    for (QPushButton* button : {create, open})
        layout->addWidget(button, 0, Qt::AlignHCenter);
    layout->addStretch(3);
    setGeometry(list->rect());
    list->installEventFilter(this);
}

bool StartHint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace stolvar
