#pragma once

#include "model/strength/Evaluation.h"

#include <QAbstractTableModel>

#include <memory>

namespace stolvar {

// The rows of an evaluation as the grid 评定表格 shows them; cells are made as the view
// asks for them, so a lot of thousands of groups costs only the rows on the screen.
class EvaluationModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(std::shared_ptr<const StrengthRegister> reg, QVector<EvaluationRow> rows, double conversion);
    const EvaluationRow* rowAt(int row) const;
    const StrengthGroup* groupAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<const StrengthRegister> m_register;
    QVector<EvaluationRow> m_rows;
    double m_conversion = 1;
};

} // namespace stolvar
