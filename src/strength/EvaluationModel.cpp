#include "strength/EvaluationModel.h"

namespace stolvar {

namespace {

// Project, position, report and remark read best from the left; figures centred.
bool IsTextColumn(int column)
{
    return column == 1 || column == 2 || column == 5 || column == 10;
}

} // namespace

void EvaluationModel::show(std::shared_ptr<const StrengthRegister> reg, QVector<EvaluationRow> rows, double conversion)
{
    beginResetModel();
    m_register = std::move(reg);
    m_rows = std::move(rows);
    m_conversion = conversion;
    endResetModel();
}

const EvaluationRow* EvaluationModel::rowAt(int row) const
{
    return m_register && row >= 0 && row < m_rows.size() ? &m_rows[row] : nullptr;
}

const StrengthGroup* EvaluationModel::groupAt(int row) const
{
    const EvaluationRow* r = rowAt(row);
    return r ? &m_register->groups[r->group] : nullptr;
}

int EvaluationModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int EvaluationModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(EvaluationHeader().size());
}

QVariant EvaluationModel::data(const QModelIndex& index, int role) const
{
    const EvaluationRow* row = rowAt(index.row());
    if (!row)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int((IsTextColumn(index.column()) ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return EvaluationCells(*m_register, *row, index.row() + 1, m_conversion).value(index.column());
}

QVariant EvaluationModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return EvaluationHeader().value(section);
}

} // namespace stolvar
