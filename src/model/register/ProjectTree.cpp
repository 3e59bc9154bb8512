#include "model/register/ProjectTree.h"

#include <algorithm>

#include <QLocale>

namespace stolvar {

QCollator ProjectNameCollator()
{
    return QCollator(QLocale(QLocale::Chinese, QLocale::China));
}

namespace {

QChar FoldAscii(QChar c)
{
    return c.unicode() < 0x80 ? c.toLower() : c;
}

} // namespace

QString NameKey(const QString& name)
{
    // Most names have no capital Latin letter: their key shares the name's text.
    if (std::none_of(name.begin(), name.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; }))
        return name;
    QString key(name.size(), Qt::Uninitialized);
    std::transform(name.begin(), name.end(), key.begin(), FoldAscii);
    return key;
}

void ProjectTree::appendProject(QStringView name)
{
    m_projectNodes.append(nodeCount());
    m_unread.append(false);
    appendPosition(name);
}

void ProjectTree::appendUnreadProject(QStringView name, int positions)
{
    appendProject(name);
    m_unread.last() = positions > 0;
    const int end = m_ends.last();
    m_ends.insert(m_ends.size(), positions, end);
}

void ProjectTree::setPositionNames(int project, const QStringList& names)
{
    if (!m_unread[project])
        return;
    const int first = m_projectNodes[project] + 1;
    const int count = positionCount(project);
    const int begin = m_ends[first - 1];
    QString texts;
    for (int i = 0; i < count; ++i) {
        if (i < names.size())
            texts += names[i];
        m_ends[first + i] = begin + int(texts.size());
    }
    const int length = int(texts.size());
    for (int node = first + count; node < nodeCount(); ++node)
        m_ends[node] += length;
    m_texts.insert(begin, texts);
    m_unread[project] = false;
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
    m_unread.reserve(projects);
    m_texts.reserve(characters);
}

QString ProjectTree::text(int node) const
{
    return textView(node).toString();
}

QStringView ProjectTree::textView(int node) const
{
    const int begin = node > 0 ? m_ends[node - 1] : 0;
    return QStringView(m_texts).mid(begin, m_ends[node] - begin);
}

void ProjectTree::insertProject(int project, QStringView name, const QStringList& positions)
{
    const int node = project < projectCount() ? m_projectNodes[project] : nodeCount();
    const int begin = node > 0 ? m_ends[node - 1] : 0;
    QString texts = name.toString();
    QVector<int> ends{begin + int(texts.size())};
    for (const QString& position : positions) {
        texts += position;
        ends.append(begin + int(texts.size()));
    }
    const int length = int(texts.size());
    const int count = int(ends.size());
    for (int i = node; i < nodeCount(); ++i)
        m_ends[i] += length;
    for (int p = project; p < projectCount(); ++p)
        m_projectNodes[p] += count;
    m_texts.insert(begin, texts);
    m_ends.insert(node, count, 0);
    std::copy(ends.begin(), ends.end(), m_ends.begin() + node);
    m_projectNodes.insert(project, node);
    m_unread.insert(project, false);
    if (m_nullProject >= project)
        ++m_nullProject;
}

void ProjectTree::removeProject(int project)
{
    const int node = m_projectNodes[project];
    const int count = positionCount(project) + 1;
    const int begin = node > 0 ? m_ends[node - 1] : 0;
    const int length = m_ends[node + count - 1] - begin;
    m_texts.remove(begin, length);
    m_ends.remove(node, count);
    for (int i = node; i < nodeCount(); ++i)
        m_ends[i] -= length;
    m_projectNodes.remove(project);
    m_unread.remove(project);
    for (int p = project; p < projectCount(); ++p)
        m_projectNodes[p] -= count;
    if (m_nullProject == project)
        m_nullProject = -1;
    else if (m_nullProject > project)
        --m_nullProject;
}

int ProjectTree::positionCount(int project) const
{
    const int next = project + 1 < projectCount() ? m_projectNodes[project + 1] : nodeCount();
    return next - m_projectNodes[project] - 1;
}

QVector<int> ProjectTree::projectsNamedLike(const QString& project) const
{
    QVector<int> projects;
    for (int p = 0; p < projectCount(); ++p) {
        if (textView(projectNode(p)).compare(project, Qt::CaseInsensitive) == 0)
            projects << p;
    }
    return projects;
}

int ProjectTree::findPositionIn(int project, const QString& position) const
{
    const int node = projectNode(project);
    for (int n = node + 1; n <= node + positionCount(project); ++n) {
        if (textView(n).compare(position, Qt::CaseInsensitive) == 0)
            return n;
    }
    return -1;
}

int ProjectTree::findProject(QStringView name) const
{
    for (int p = 0; p < projectCount(); ++p) {
        const QStringView text = textView(projectNode(p));
        if (p == m_nullProject || text.size() != name.size())
            continue;
        if (std::equal(text.begin(), text.end(), name.begin(),
                       [](QChar a, QChar b) { return FoldAscii(a) == FoldAscii(b); }))
            return p;
    }
    return -1;
}

int ProjectTree::projectOf(int node) const
{
    const auto after = std::upper_bound(m_projectNodes.begin(), m_projectNodes.end(), node);
    return int(after - m_projectNodes.begin()) - 1;
}

} // namespace stolvar
