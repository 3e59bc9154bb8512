#pragma once

#include <QString>

#include <memory>

namespace stolvar {

// A small regular-expression searcher in the ECMAScript dialect: lazy quantifiers,
// "." stops at line breaks, case folding, multi-line "^"/"$", global search, numbered
// groups. One Search compiles a pattern and collects the matches in a subject; the
// read operations then give matches and groups by number, counted from 1, and refer
// to the last search only. Numbers out of range give "" or 0; nothing throws.
//
// Texts are matched as UTF-32 (std::wstring is 32 bits wide on our platforms) with
// boost::wregex, so that a Chinese character is one character to the pattern.
class PatternMatcher
{
public:
    PatternMatcher();
    ~PatternMatcher();
    PatternMatcher(const PatternMatcher&) = default;
    PatternMatcher& operator=(const PatternMatcher&) = default;

    // True when the pattern compiled and the subject was searched (also with no match).
    // With `quoteMarker` every "#引号" in the pattern stands for a double quote, so
    // callers can write patterns with quotes inside string literals of their own.
    bool Search(const QString& pattern, const QString& subject, bool caseSensitive = false,
                bool multiLine = true, bool global = true, bool quoteMarker = false);

    // The pattern of the last search (after the quote marker was applied); "" before one.
    QString GetPattern() const;
    // The subject of the last search with its matches replaced ("$1", "$&", "$$" as in
    // ECMAScript); only the first match when the search was not global.
    QString Replace(const QString& replacement) const;

    int MatchCount() const;
    // `position`, when given, receives the 0-based offset of the text in the subject's
    // GBK bytes, or -1 when there is no such match or group.
    QString MatchText(int match, int* position = nullptr) const;
    // A group that took no part in the match gives "".
    QString SubMatchText(int match, int group, int* position = nullptr) const;
    // The number of groups of the first match; 0 when nothing matched.
    int SubMatchCount() const;

    // A second matcher sharing the compiled pattern, the matches and the subject.
    PatternMatcher Copy() const { return *this; }

private:
    struct State;
    std::shared_ptr<const State> m_state;
};

} // namespace stolvar
