#pragma once

#include "core/Messages.h"

namespace stolvar {

// The real dialogs.
class WidgetMessages : public Messages
{
public:
    void show(QWidget* parent, const QString& text, const QString& title, Icon icon) override;
    bool ask(QWidget* parent, const QString& text, const QString& title, Icon icon) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
};

} // namespace stolvar
