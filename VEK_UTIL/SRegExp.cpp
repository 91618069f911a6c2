#include "VEK_UTIL/SRegExp.h"

#include "VEK_ARRAYS/SNumList.h"
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SError.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstring>

namespace {

uint32_t optionsOf(const SString& modifiers) {
    uint32_t options = 0;
    for (int i = 0; i < modifiers.length(); ++i) {
        switch (modifiers.getAt(i)) {
        case 'A': options |= PCRE2_ANCHORED; break;
        case 'D': options |= PCRE2_DOLLAR_ENDONLY; break;
        case 'U': options |= PCRE2_UNGREEDY; break;
        // PCRE2 always rejects unknown escapes, which is all that "X" asked for.
        case 'X': break;
        case 'u': options |= PCRE2_UTF; break;
        case 'i': options |= PCRE2_CASELESS; break;
        case 'm': options |= PCRE2_MULTILINE; break;
        case 's': options |= PCRE2_DOTALL; break;
        case 'x': options |= PCRE2_EXTENDED; break;
        default: break;
        }
    }
    return options;
}

void reportSyntax(const SString& expression, int code, std::size_t offset, const SString& modifiers) {
    PCRE2_UCHAR message[256];
    if (pcre2_get_error_message(code, message, sizeof message) < 0) message[0] = 0;
    SString text("Fehlerhafte Syntax im regul\344ren Ausdruck:\r\n");
    text.append(expression);
    text.append("\r\nFehler: ");
    text.append(reinterpret_cast<const char*>(message));
    text.append("\r\n an Offset: ");
    text.append((int)offset);
    text.append("\r\n Modifier: ");
    text.append(modifiers);
    globalError.show(text, 0, "Fehler !", 16);
}

} // namespace

void SRegExp::CodeFree::operator()(pcre2_code* code) const { pcre2_code_free(code); }
void SRegExp::MatchDataFree::operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }

SRegExp::SRegExp() : matchData(pcre2_match_data_create(maxPairs, nullptr)) {}

SRegExp::SRegExp(const char* pattern) : SRegExp() { compile(pattern); }

SRegExp::~SRegExp() = default;

bool SRegExp::compile(const char* pattern) {
    // Options follow from the text alone, so an unchanged text keeps its compiled form.
    if (compiled && pattern && patternText == pattern) return true;
    compiled.reset();
    patternText.clear();
    utf = false;
    if (!pattern || !*pattern) return false;

    // Without a closing delimiter the rest is the expression and there are no modifiers.
    const char* close = std::strrchr(pattern + 1, pattern[0]);
    SString expression;
    expression.setRaw(pattern + 1, close ? (int)(close - pattern - 1) : -1);
    SString modifiers;
    if (close) modifiers.setRaw(close + 1);

    int code = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* result = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.getBuffer()),
                                       (PCRE2_SIZE)expression.length(), optionsOf(modifiers), &code,
                                       &offset, nullptr);
    if (!result) {
        reportSyntax(expression, code, offset, modifiers);
        return false;
    }
    compiled.reset(result);
    patternText.setRaw(pattern);
    uint32_t all = 0;
    pcre2_pattern_info(result, PCRE2_INFO_ALLOPTIONS, &all);
    utf = (all & PCRE2_UTF) != 0; // also set by (*UTF) inside the expression
    return true;
}

bool SRegExp::noPattern(const char* operation) const {
    if (compiled) return false;
    SString text("Fehler: SRegExp::");
    text.append(operation);
    text.append("() wurde ohne regul\344ren Ausdruck aufgerufen und es lag keiner vor.");
    globalError.show(text, 0, "Fehler !", 16);
    return true;
}

// One PCRE2 search of subject at offset. Keeps the pairs of a match and returns their
// count; otherwise PCRE2_ERROR_NOMATCH or another (already reported) negative code.
int SRegExp::search(std::size_t offset, unsigned options) {
    int rc = pcre2_match(compiled.get(), reinterpret_cast<PCRE2_SPTR>(subject.getBuffer()),
                         (PCRE2_SIZE)subject.length(), offset, options, matchData.get(), nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) return rc;
    if (rc < 0) {
        globalError.show(SString::formatted("Fehler (%d)bei SString::match()", rc), 0, "Fehler !", 16);
        return rc;
    }
    if (rc == 0) {
        rc = maxPairs;
        SString text("Fehler: Zuviel Ergebnisse, es ist nur Platz f\374r");
        text.append(maxPairs - 1);
        text.append(" Elemente");
        globalError.show(text, 0, "Fehler !", 16);
    }
    const PCRE2_SIZE* pairs = pcre2_get_ovector_pointer(matchData.get());
    ovector.assign(pairs, pairs + 2 * rc);
    groupCount = rc;
    matchStart = (int)pairs[0];
    matchEnd = (int)pairs[1];
    return rc;
}

// Calls onMatch() after every match of text, in PCRE2's way of iterating: an empty match
// is retried once non-empty at the same place, and the search then moves on by one
// character. Returns the number of matches.
template <class OnMatch>
int SRegExp::forEachMatch(const char* text, OnMatch&& onMatch) {
    matched = false;
    subject.setRaw(text);
    const std::size_t length = (std::size_t)subject.length();
    // The first search checks the UTF-8 of the whole text; later ones may skip that.
    int rc = search(0, 0);
    int count = 0;
    while (rc > 0) {
        ++count;
        matched = true;
        onMatch();
        std::size_t start = ovector[1];
        uint32_t options = PCRE2_NO_UTF_CHECK;
        if (ovector[0] == ovector[1]) {
            if (start >= length) break;
            options |= PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED;
        }
        rc = search(start, options);
        if (rc == PCRE2_ERROR_NOMATCH && (options & PCRE2_ANCHORED)) {
            // Step over a whole character: a search inside one is undefined without the check.
            ++start;
            while (utf && start < length && (subject.getAt((int)start) & 0xC0) == 0x80) ++start;
            rc = search(start, PCRE2_NO_UTF_CHECK);
        }
    }
    return count;
}

int SRegExp::findOne(const char* pattern, const char* text, int from) {
    if (pattern && *pattern && !compile(pattern)) return -1;
    if (noPattern("findOne")) return -1;
    matched = false;
    subject.setRaw(text);
    if (from < 0) from = 0;
    if (from > subject.length()) return -1;
    if (search((std::size_t)from, 0) <= 0) return -1;
    matched = true;
    return matchStart;
}

int SRegExp::findAll(const char* text, SStringList& results, SNumList* positions) {
    if (noPattern("findAll")) return 0;
    return forEachMatch(text, [&] {
        for (int i = 0; i < groupCount; ++i) {
            results.add(group(i));
            if (positions) positions->add(groupStart(i));
        }
    });
}

int SRegExp::findAll(const char* pattern, const char* text, SStringList& results, SNumList* positions) {
    if (pattern && *pattern && !compile(pattern)) return 0;
    return findAll(text, results, positions);
}

SString SRegExp::replace(const char* pattern, const char* text, const char* replacement) {
    SString unchanged;
    unchanged.setRaw(text);
    if (pattern && *pattern && !compile(pattern)) return unchanged;
    if (noPattern("replace")) return unchanged;
    if (!replacement) replacement = "";

    SString result;
    int copied = 0; // subject bytes already taken over into result
    int number = 0;
    forEachMatch(text, [&] {
        if (matchStart > copied) result.append(subject.getBuffer() + copied, matchStart - copied);
        if (matchEnd > copied) copied = matchEnd;
        ++number;
        for (const char* p = replacement; *p;) {
            const char* close = std::strncmp(p, "{{", 2) == 0 ? std::strstr(p + 2, "}}") : nullptr;
            if (!close) {
                result.append(*p++);
                continue;
            }
            SString name;
            name.setRaw(p + 2, (int)(close - p - 2));
            bool digits = !name.isEmpty() && std::strspn(name, "0123456789") == (std::size_t)name.length();
            if (name == "nr")
                result.append(number);
            else if (digits && name.length() < 6)
                result.append(group(name.toNumber()));
            else {
                result.append(*p++); // not a placeholder: the brace is text
                continue;
            }
            p = close + 2;
        }
    });
    if (number == 0) return unchanged;
    if (subject.length() > copied) result.append(subject.getBuffer() + copied, subject.length() - copied);
    return result;
}

int SRegExp::groups(SStringList& results) const {
    if (!matched) return 0;
    for (int i = 0; i < groupCount; ++i) results.add(group(i));
    return groupCount;
}

SString SRegExp::group(int index) const {
    SString text;
    if (groupStart(index) < 0) return text;
    std::size_t start = ovector[2 * index], end = ovector[2 * index + 1];
    if (end > start) text.setRaw(subject.getBuffer() + start, (int)(end - start));
    return text;
}

int SRegExp::groupStart(int index) const {
    if (index < 0 || index >= groupCount || ovector[2 * index] == PCRE2_UNSET) return -1;
    return (int)ovector[2 * index];
}
