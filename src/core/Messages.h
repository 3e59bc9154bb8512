#pragma once

#include <QString>

class QWidget;

namespace stolvar {

// Every message box and file dialog of the program goes through this interface, so
// tests answer them in advance and no test ever blocks on a modal window.
class Messages
{
public:
    enum class Icon { None, Information, Warning, Critical };

    virtual ~Messages() = default;

    // The caption of a message box whose title is not stated.
    static QString DefaultTitle() { return QStringLiteral("信息："); }
    // An action that needs the register while none is open.
    static QString NoDatabaseText() { return QStringLiteral("请先打开数据库！"); }

    virtual void show(QWidget* parent, const QString& text, const QString& title = DefaultTitle(),
                      Icon icon = Icon::None) = 0;
    // Yes/No question; true for Yes.
    virtual bool ask(QWidget* parent, const QString& text, const QString& title, Icon icon) = 0;
    // Open-file dialog; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // Save-file dialog; empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
};

} // namespace stolvar
