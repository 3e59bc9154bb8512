#pragma once

#include <QDateTime>
#include <QDialog>

#include <memory>

class QLineEdit;

namespace stolvar {

class Database;
class Messages;

// The modal window "温度记录删除": the clerk types a day and deletes its records, as many
// days as needed, until closing the window. Enter in the date box deletes like the button.
class DeleteTemperatureDialog : public QDialog
{
    Q_OBJECT

public:
    DeleteTemperatureDialog(std::shared_ptr<Database> db, QDateTime today, Messages& messages,
                            QWidget* parent = nullptr);

    QLineEdit* dateBox() const { return m_dateBox; }

signals:
    // Rows of a day were removed, so views computed from the temperatures are stale.
    void recordsDeleted();

private:
    void deleteTypedDay();

    std::shared_ptr<Database> m_db;
    Messages& m_messages;
    QLineEdit* m_dateBox = nullptr;
};

} // namespace stolvar
