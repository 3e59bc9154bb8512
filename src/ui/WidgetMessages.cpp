#include "ui/WidgetMessages.h"

#include <QFileDialog>
#include <QMessageBox>

namespace stolvar {

namespace {

QMessageBox::Icon ToBoxIcon(Messages::Icon icon)
{
    switch (icon) {
    case Messages::Icon::Information: return QMessageBox::Information;
    case Messages::Icon::Warning: return QMessageBox::Warning;
    case Messages::Icon::Critical: return QMessageBox::Critical;
    case Messages::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void WidgetMessages::show(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    QMessageBox box(ToBoxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);   // texts may quote a web page or a file: never markup
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);   // an address or a path can be copied
    box.exec();
}

bool WidgetMessages::ask(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    QMessageBox box(ToBoxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString WidgetMessages::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                     const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString WidgetMessages::saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                     const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

} // namespace stolvar
