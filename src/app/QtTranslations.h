#pragma once

class QCoreApplication;
class QTranslator;

namespace stolvar {

// Qt's own texts (the standard buttons "确定", "取消", "是", "否", the file, colour, print
// and preview dialogs) in the program's language, Chinese, whatever the system locale:
// Qt's catalogue qtbase_zh_CN.qm from its translations folder; the default locale becomes
// Chinese too, for the dates and sizes Qt's dialogs show. The translator installed
// (owned by `app`), or none when the catalogue is missing: the dialogs then speak English
// and nothing else changes.
QTranslator* InstallQtTranslations(QCoreApplication& app);

} // namespace stolvar
