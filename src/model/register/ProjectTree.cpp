#include "model/register/ProjectTree.h"

#include <algorithm>

namespace stolvar {

void ProjectTree::appendProject(QStringView name)
{
    m_projectNodes.append(nodeCount());
    appendPosition(name);
}

void ProjectTree::appendPosition(QStringView name)
{
    m_texts.append(name);
    m_ends.append(int(m_texts.size()));
}

void ProjectTree::reserve(int nodes, int projects, qsizetype characters)
{
    m_ends.reserve(nodes);
    m_projectNodes.reserve(projects);
    m_texts.reserve(characters);
}

QString ProjectTree::text(int node) const
{
    const int begin = node > 0 ? m_ends[node - 1] : 0;
    return m_texts.mid(begin, m_ends[node] - begin);
}

int ProjectTree::positionCount(int project) const
{
    const int next = project + 1 < projectCount() ? m_projectNodes[project + 1] : nodeCount();
    return next - m_projectNodes[project] - 1;
}

int ProjectTree::findPosition(const QString& project, const QString& position) const
{
    for (int p = 0; p < projectCount(); ++p) {
        if (text(projectNode(p)).compare(project, Qt::CaseInsensitive) != 0)
            continue;
        for (int node = projectNode(p) + 1; node <= projectNode(p) + positionCount(p); ++node) {
            if (text(node).compare(position, Qt::CaseInsensitive) == 0)
                return node;
        }
    }
    return -1;
}

int ProjectTree::projectOf(int node) const
{
    const auto after = std::upper_bound(m_projectNodes.begin(), m_projectNodes.end(), node);
    return int(after - m_projectNodes.begin()) - 1;
}

} // namespace stolvar
