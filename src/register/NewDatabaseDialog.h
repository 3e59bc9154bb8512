#pragma once

#include <QDialog>

class QLineEdit;

namespace stolvar {

class Messages;

// "新建工程数据库": asks for a name and creates "<name>.dat" in the program folder.
// Stays open after a refused name; accepts after a creation.
class NewDatabaseDialog : public QDialog
{
    Q_OBJECT
public:
    NewDatabaseDialog(QString folder, Messages& messages, QWidget* parent = nullptr);

    QLineEdit* nameBox() const { return m_name; }
    // Creates the database from the typed name (the "确定" button).
    void createDatabase();
    // The file made by the last creation (folder and name); empty before one.
    QString createdPath() const { return m_created; }

private:
    QString m_folder;
    Messages& m_messages;
    QLineEdit* m_name;
    QString m_created;
};

} // namespace stolvar
