#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace stolvar {

QTranslator* InstallQtTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    // Dates and sizes in Qt's dialogs (the file dialog's columns) as a Chinese desktop writes them.
    QLocale::setDefault(chinese);
    return translator;
}

} // namespace stolvar
