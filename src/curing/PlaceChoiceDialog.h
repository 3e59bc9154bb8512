#pragma once

#include "model/weather/OpenMeteo.h"

#include <QDialog>

class QTableWidget;

namespace stolvar {

// "选择地点": the places the search found for a city, with name, province and county, in
// the grid 地点列表; the clerk picks the one meant (a double click or "确定").
class PlaceChoiceDialog : public QDialog
{
    Q_OBJECT
public:
    PlaceChoiceDialog(const QString& city, const QVector<PlaceChoice>& places, QWidget* parent = nullptr);

    QTableWidget* list() const { return m_list; }
    int chosenRow() const;   // -1 when none is chosen

private:
    QTableWidget* m_list = nullptr;
};

} // namespace stolvar
