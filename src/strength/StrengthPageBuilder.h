#pragma once

class QWidget;

namespace stolvar {

struct EvaluationWidgets;
struct ResultsPanelWidgets;

// The results' label under the standard-curing state and their button in the group editor
// (beside "添加试块"), on "数据管理".
void BuildResultsPanel(QWidget* standardStateGroup, QWidget* groupEditingGroup, ResultsPanelWidgets& ui);

// The page "强度评定", each control named as its objectName.
QWidget* BuildEvaluationPage(EvaluationWidgets& ui);

} // namespace stolvar
