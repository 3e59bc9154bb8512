#pragma once

#include <QDateTime>
#include <QString>

namespace stolvar {

// The selected tree node and group. Written on the UI thread only; a background task
// takes a copy when it is started, so it always sees one consistent set.
struct CurrentSelection {
    QString nodeText;       // text of the selected node
    QString projectName;    // the node's own text for a project node, else its parent's
    QDateTime samplingDate; // 取样日期 of the last position node shown in the panel
    QString position;       // 工程部位 of that group
    QString grade;          // 强度等级 of that group
};

// The same specimen group: project, position and casting day.
inline bool IsSameGroup(const CurrentSelection& a, const CurrentSelection& b)
{
    return a.projectName == b.projectName && a.position == b.position && a.samplingDate == b.samplingDate;
}

} // namespace stolvar
