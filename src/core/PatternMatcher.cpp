#include "core/PatternMatcher.h"

#include "core/Gbk.h"

#include <boost/regex.hpp>

#include <locale>
#include <optional>
#include <stdexcept>
#include <vector>

namespace stolvar {

namespace {

using Flags = boost::regex_constants::syntax_option_type;

// "." stops at a line break, as in the ECMAScript dialect.
constexpr auto kMatchFlags = boost::regex_constants::match_not_dot_newline;

Flags SyntaxFlags(bool caseSensitive, bool multiLine)
{
    Flags flags = boost::regex_constants::ECMAScript;
    if (!caseSensitive)
        flags |= boost::regex_constants::icase;
    if (!multiLine)
        flags |= boost::regex_constants::no_mod_m;
    return flags;
}

// Case folding beyond ASCII needs a Unicode locale; without one ASCII folding remains.
std::locale FoldingLocale()
{
    try {
        return std::locale("C.UTF-8");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

std::optional<boost::wregex> Compile(const QString& pattern, Flags flags)
{
    static const std::locale locale = FoldingLocale();
    try {
        boost::wregex regex;
        regex.imbue(locale);
        regex.assign(pattern.toStdWString(), flags);
        return regex;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

struct PatternMatcher::State {
    QString pattern;
    std::wstring subject;
    std::optional<boost::wregex> regex;
    bool global = true;
    std::vector<boost::wsmatch> matches;   // iterators into `subject`

    bool collect()
    {
        try {
            if (global) {
                boost::wsregex_iterator it(subject.begin(), subject.end(), *regex, kMatchFlags);
                for (; it != boost::wsregex_iterator(); ++it)
                    matches.push_back(*it);
            } else if (boost::wsmatch m; boost::regex_search(subject, m, *regex, kMatchFlags)) {
                matches.push_back(m);
            }
            return true;
        } catch (const std::exception&) {   // a pattern too complex for the subject
            matches.clear();
            return false;
        }
    }

    const boost::wsmatch* match(int number) const
    {
        if (number < 1 || size_t(number) > matches.size())
            return nullptr;
        return &matches[size_t(number) - 1];
    }

    // Offset of a character index of the subject in the subject's GBK bytes.
    int gbkOffset(std::wstring::size_type index) const
    {
        const QString prefix = QString::fromStdWString(subject.substr(0, index));
        return int(EncodeGbk(prefix).size());
    }

    QString text(const boost::wssub_match& sub, int* position) const
    {
        if (position)
            *position = sub.matched ? gbkOffset(size_t(sub.first - subject.begin())) : -1;
        return sub.matched ? QString::fromStdWString(sub.str()) : QString();
    }
};

PatternMatcher::PatternMatcher() = default;
PatternMatcher::~PatternMatcher() = default;

bool PatternMatcher::Search(const QString& pattern, const QString& subject, bool caseSensitive,
                            bool multiLine, bool global, bool quoteMarker)
{
    auto state = std::make_shared<State>();
    state->pattern = pattern;
    if (quoteMarker)
        state->pattern.replace(QStringLiteral("#引号"), QStringLiteral("\""));
    state->subject = subject.toStdWString();
    state->global = global;
    state->regex = Compile(state->pattern, SyntaxFlags(caseSensitive, multiLine));
    const bool ok = state->regex && state->collect();
    m_state = std::move(state);
    return ok;
}

QString PatternMatcher::GetPattern() const
{
    return m_state ? m_state->pattern : QString();
}

QString PatternMatcher::Replace(const QString& replacement) const
{
    if (!m_state || !m_state->regex)
        return {};
    auto flags = kMatchFlags | boost::regex_constants::format_default;
    if (!m_state->global)
        flags |= boost::regex_constants::format_first_only;
    try {
        return QString::fromStdWString(boost::regex_replace(
            m_state->subject, *m_state->regex, replacement.toStdWString(), flags));
    } catch (const std::exception&) {
        return {};
    }
}

int PatternMatcher::MatchCount() const
{
    return m_state ? int(m_state->matches.size()) : 0;
}

QString PatternMatcher::MatchText(int match, int* position) const
{
    const boost::wsmatch* m = m_state ? m_state->match(match) : nullptr;
    if (!m) {
        if (position)
            *position = -1;
        return {};
    }
    return m_state->text((*m)[0], position);
}

QString PatternMatcher::SubMatchText(int match, int group, int* position) const
{
    const boost::wsmatch* m = m_state ? m_state->match(match) : nullptr;
    if (!m || group < 1 || size_t(group) >= m->size()) {
        if (position)
            *position = -1;
        return {};
    }
    return m_state->text((*m)[group], position);
}

int PatternMatcher::SubMatchCount() const
{
    const boost::wsmatch* first = m_state ? m_state->match(1) : nullptr;
    return first ? int(first->size()) - 1 : 0;
}

} // namespace stolvar
