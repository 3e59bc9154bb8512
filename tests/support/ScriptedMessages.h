#pragma once

#include "core/Messages.h"

#include <QList>
#include <QStringList>

namespace stolvar::test {

// Records every message and answers questions and file dialogs from queues.
class ScriptedMessages : public Messages
{
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon;
    };

    void show(QWidget*, const QString& text, const QString& title, Icon icon) override
    {
        shown.append({text, title, icon});
    }
    bool ask(QWidget*, const QString& text, const QString& title, Icon icon) override
    {
        asked.append({text, title, icon});
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    QString openFileName(QWidget*, const QString& caption, const QString& folder, const QString& filter) override
    {
        openRequests.append({caption, folder, filter});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& folder, const QString& filter) override
    {
        openRequests.append({caption, folder, filter});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }

    QString lastText() const { return shown.isEmpty() ? QString() : shown.back().text; }
    QStringList texts() const
    {
        QStringList all;
        for (const Shown& s : shown)
            all << s.text;
        return all;
    }

    QList<Shown> shown;
    QList<Shown> asked;
    QList<bool> answers;
    QStringList fileNames;
    QList<QStringList> openRequests;
};

} // namespace stolvar::test
