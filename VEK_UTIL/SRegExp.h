// SRegExp: regular expressions over PCRE2. Patterns carry delimiters and trailing modifier
// letters ("/0x[0-9a-f]+/i"); one compiled pattern serves findOne, findAll and replace.
#pragma once

#include "VEK_UTIL/SString.h"

#include <cstddef>
#include <memory>
#include <vector>

class SStringList;
class SNumList;
struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

class SRegExp {
public:
    // Start/end pairs PCRE2 may fill per match: group 0 and 1665 captured groups.
    static constexpr int maxPairs = 1666;

    SRegExp();
    explicit SRegExp(const char* pattern);
    virtual ~SRegExp();
    SRegExp(const SRegExp&) = delete;
    SRegExp& operator=(const SRegExp&) = delete;
    virtual const char* getClassName() const { return "SRegExp"; }

    // Compiles "<d>expression<d>modifiers". The same text as the compiled pattern is not
    // compiled again. False (after the syntax message) when PCRE2 rejects it.
    bool compile(const char* pattern);
    bool isCompiled() const { return compiled != nullptr; }

    // Start offset of the first match at or after from, or -1. A non-empty pattern is
    // compiled first.
    int findOne(const char* pattern, const char* text, int from = 0);
    // Every match: its groups (group 0 first) appended to results, their start offsets
    // (-1 for a group that took no part) to positions. Returns the number of matches.
    int findAll(const char* text, SStringList& results, SNumList* positions = nullptr);
    // The same after compiling a non-empty pattern; 0 when it does not compile.
    int findAll(const char* pattern, const char* text, SStringList& results, SNumList* positions = nullptr);
    // The text with every match replaced; "{{n}}" in replacement stands for group n of the
    // match, "{{nr}}" for the running number of the match from 1.
    SString replace(const char* pattern, const char* text, const char* replacement);
    // Appends the groups of the last match; returns how many.
    int groups(SStringList& results) const;

    bool isMatched() const { return matched; }
    int getGroupCount() const { return groupCount; }
    int getMatchStart() const { return matchStart; }
    int getMatchEnd() const { return matchEnd; }

private:
    int search(std::size_t offset, unsigned options);
    template <class OnMatch>
    int forEachMatch(const char* text, OnMatch&& onMatch);
    SString group(int index) const;
    int groupStart(int index) const;
    bool noPattern(const char* operation) const;

    struct CodeFree {
        void operator()(pcre2_real_code_8* code) const;
    };
    struct MatchDataFree {
        void operator()(pcre2_real_match_data_8* data) const;
    };

    bool matched = false;
    std::unique_ptr<pcre2_real_code_8, CodeFree> compiled;
    SString subject;
    // The pairs of the last successful match; PCRE2's own block is reused by the next search.
    std::vector<std::size_t> ovector;
    int groupCount = 0;
    int matchStart = -1;
    int matchEnd = -1;

    std::unique_ptr<pcre2_real_match_data_8, MatchDataFree> matchData;
    SString patternText; // the compiled pattern as given, for the cache
    bool utf = false;
};
