#include "VEK_UTIL/SFileIni.h"

#include "VEK_ARRAYS/SMapStringToNum.h"
#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SError.h"

#include <cstring>
#include <string>
#include <utility>

namespace {

const char kMaskedHeader[] = "[vekContentMask+";
const char kPlainHeader[] = "[vekContentMask-";
const int kMaskFlagAt = 15;
const int kNumberAt = 16;
const int kPlainBytes = 22; // the header line stays readable

SString raw(const char* text, int length = -1) {
    SString s;
    s.setRaw(text ? text : "", length);
    return s;
}

bool sameBytes(const SString& a, const SString& b) {
    return a.length() == b.length() && std::memcmp(a.getBuffer(), b.getBuffer(), (size_t)a.length()) == 0;
}

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Splits "key=value" at the first "=", both trimmed; false without "=".
bool splitEntry(const SString& line, SString& key, SString& value) {
    int eq = line.findChar('=');
    if (eq < 0) return false;
    key = line.left(eq);
    key.trim();
    value = line.from(eq + 1);
    value.trim();
    return true;
}

bool singlePatternMatches(const SString& name, SString pattern) {
    bool negated = pattern.startsWith("!");
    if (negated) pattern.remove(0, 1);
    bool match;
    int n = pattern.length();
    if (pattern == "*") {
        match = true;
    } else if (n >= 2 && pattern.startsWith("*") && pattern.endsWith("*")) {
        match = name.find(pattern.mid(1, n - 2)) >= 0 || n == 2;
    } else if (pattern.startsWith("*")) {
        match = name.endsWith(pattern.from(1));
    } else if (pattern.endsWith("*")) {
        match = name.startsWith(pattern.left(n - 1));
    } else {
        match = sameBytes(name, pattern);
    }
    return negated ? !match : match;
}

bool isAbsolutePath(const SString& p) {
    return p.startsWith("/") || p.startsWith("\\") || (p.length() > 1 && p.getAt(1) == ':');
}

} // namespace

SFileIni::~SFileIni() {
    if (modified && errorText.isEmpty()) save();
}

// ---------------------------------------------------------------- file

bool SFileIni::load(const char* newPath, bool create, bool asReadOnly) {
    // A read-only or unbound text has nothing to save and must not block the next load.
    if (modified && !path.isEmpty() && !readOnly && !save()) return false;
    readOnly = asReadOnly;
    errorText.clear();
    path.setRaw(newPath ? newPath : "");
    SString data;
    bool ok;
    if (create && !SSystem::pathExists(path))
        ok = SSystem::writeFileAtomic(path, "", 0);
    else
        ok = !path.isEmpty() && SSystem::readFile(path, data);
    if (!ok) {
        errorText = SSystem::systemErrorText(SSystem::lastErrorCode());
        path.clear();
        return false;
    }
    takeText(std::move(data));
    modified = false;
    fileTime = SSystem::fileWriteTime(path);
    return true;
}

void SFileIni::loadFromText(const char* text, int length) {
    takeText(raw(text, length));
    modified = false;
}

void SFileIni::takeText(SString&& text) {
    content = std::move(text);
    if (content.startsWith(kMaskedHeader)) applyMask(content, '-');
    widenLineFeeds(content);
    if (!content.endsWith("\r\n")) content.append("\r\n");
}

// Every rule of this format finds lines by CR LF. A file edited or checked out with bare
// LF endings would otherwise read as one long first section, and its other sections and
// entries would be silently missing; it is written back with CR LF.
void SFileIni::widenLineFeeds(SString& text) {
    const char* bytes = text.getBuffer();
    const int length = text.length();
    int bare = 0;
    for (int i = 0; i < length; ++i)
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) ++bare;
    if (bare == 0) return;
    std::string wide;
    wide.reserve((size_t)length + (size_t)bare);
    for (int i = 0; i < length; ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) wide.push_back('\r');
        wide.push_back(bytes[i]);
    }
    text.setRaw(wide.data(), (int)wide.size());
}

// XORs every byte from the end of the header line on with the byte derived from the
// header number, and sets the flag that tells plain ("-") from masked ("+") text. The
// number is read only from the plain part, so both forms give the same byte.
void SFileIni::applyMask(SString& text, char flag) {
    unsigned number = 0;
    for (int i = kNumberAt; i < kPlainBytes && i < text.length(); ++i) {
        char c = text.getAt(i);
        if (c < '0' || c > '9') break;
        number = number * 10 + (unsigned)(c - '0');
    }
    const char k = (char)((number - maskBase) & 0xFF);
    std::string bytes(text.getBuffer(), (size_t)text.length());
    for (size_t i = kPlainBytes; i < bytes.size(); ++i) bytes[i] = (char)(bytes[i] ^ k);
    bytes[kMaskFlagAt] = flag;
    text.setRaw(bytes.data(), (int)bytes.size());
}

bool SFileIni::save() {
    errorText.clear();
    if (path.isEmpty() || readOnly) return false;
    bool ok;
    if (content.startsWith(kPlainHeader)) {
        SString masked(content);
        applyMask(masked, '+');
        ok = SSystem::writeFileAtomic(path, masked.getBuffer(), masked.length());
    } else {
        ok = SSystem::writeFileAtomic(path, content.getBuffer(), content.length());
    }
    if (!ok) {
        errorText = SSystem::systemErrorText(SSystem::lastErrorCode());
        return false;
    }
    modified = false;
    fileTime = SSystem::fileWriteTime(path);
    return true;
}

void SFileIni::close(bool saveFirst) {
    if (saveFirst && modified) save();
    path.clear();
    content.clear();
    modified = false;
}

void SFileIni::setWatchFile(bool on) {
    watchFile = on;
    if (on && !path.isEmpty()) fileTime = SSystem::fileWriteTime(path);
}

void SFileIni::checkWatch() {
    if (!watchFile || path.isEmpty()) return;
    int64_t now = SSystem::fileWriteTime(path);
    // A file that vanished is not reloaded: the next save writes it again.
    if (now == -1 || now == fileTime) return;
    SString current(path);
    load(current, false, readOnly);
}

void SFileIni::changed() {
    modified = true;
    if (watchFile && !path.isEmpty()) save();
}

// ---------------------------------------------------------------- locating text

SFileIni::Range SFileIni::findSection(const char* section) const {
    SString header = raw("[");
    header.append(section ? section : "");
    header.append(']');
    const int close = header.length() - 1;
    if (content.startsWith(header)) return sectionAt(0, close);
    SString needle = raw("\r\n");
    needle.append(header);
    int at = content.find(needle);
    return at < 0 ? Range{} : sectionAt(at + 2, at + 2 + close);
}

// The section whose "[" is at `header` and "]" at `close`: the body starts after the "]",
// blanks and one line break, and ends before the next line that begins with "[".
SFileIni::Range SFileIni::sectionAt(int header, int close) const {
    const char* text = content.getBuffer();
    const int n = content.length();
    Range r;
    r.header = header;
    int i = close + 1;
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < n && text[i] == '\r') ++i;
    if (i < n && text[i] == '\n') ++i;
    r.bodyStart = i;
    if (i < n && text[i] == '[') {
        r.bodyEnd = i;
    } else {
        int next = content.find("\r\n[", i);
        r.bodyEnd = next < 0 ? n : next + 2;
    }
    return r;
}

// A header line without its line break ("[a]x") gets one before the body is edited, so
// that the first body line can be found as an entry.
void SFileIni::breakHeaderLine(Range& section) {
    const int at = section.bodyStart;
    if (at >= 2 && content.getAt(at - 2) == '\r' && content.getAt(at - 1) == '\n') return;
    content.insert(at, "\r\n", 2);
    section.bodyStart += 2;
    section.bodyEnd += 2;
}

bool SFileIni::findKey(const Range& section, const char* key, int& keyStart, int& valueStart,
                       int& valueEnd) const {
    if (section.header < 0) return false;
    const char* text = content.getBuffer();
    // The line break before the first body line belongs to the header line.
    int from = section.bodyStart;
    if (from >= 2 && text[from - 2] == '\r' && text[from - 1] == '\n') from -= 2;
    SString needle = raw("\r\n");
    needle.append(key ? key : "");
    needle.append('=');
    int at = content.find(needle, from);
    if (at < 0 || at + needle.length() > section.bodyEnd) return false;
    keyStart = at + 2;
    valueStart = at + needle.length();
    valueEnd = valueStart;
    while (valueEnd < content.length() && !isLineEnd(text[valueEnd])) ++valueEnd;
    return true;
}

// The body's lines with leading blanks and empty lines skipped, each trimmed.
void SFileIni::lineItems(const Range& section, SStringList& lines, bool skipComments) const {
    lines.clear();
    if (section.header < 0) return;
    SString body = content.mid(section.bodyStart, section.bodyEnd - section.bodyStart);
    body.trim();
    const char* text = body.getBuffer();
    const int n = body.length();
    int i = 0;
    while (i < n) {
        while (i < n && (unsigned char)text[i] < '!') ++i;
        int start = i;
        while (i < n && !isLineEnd(text[i])) ++i;
        if (i == start) continue;
        SString line = raw(text + start, i - start);
        line.trim();
        if (line.isEmpty() || (skipComments && line.startsWith(";"))) continue;
        lines.add(line);
    }
}

// ---------------------------------------------------------------- entries

SString SFileIni::getString(const char* section, const char* key, const char* defaultValue) {
    checkWatch();
    int keyStart, valueStart, valueEnd;
    if (!findKey(findSection(section), key, keyStart, valueStart, valueEnd)) return raw(defaultValue);
    return content.mid(valueStart, valueEnd - valueStart);
}

int SFileIni::getInt(const char* section, const char* key, int defaultValue) {
    SString fallback;
    fallback.format("%d", defaultValue);
    return getString(section, key, fallback).toNumber();
}

void SFileIni::setString(const char* section, const char* key, const char* value) {
    checkWatch();
    const SString newValue = raw(value);
    Range r = findSection(section);
    int keyStart, valueStart, valueEnd;
    if (findKey(r, key, keyStart, valueStart, valueEnd)) {
        if (newValue.isEmpty()) {
            int end = valueEnd;
            if (content.getAt(end) == '\r' && content.getAt(end + 1) == '\n')
                end += 2;
            else if (isLineEnd(content.getAt(end)))
                end += 1;
            content.remove(keyStart, end - keyStart);
        } else {
            content.remove(valueStart, valueEnd - valueStart);
            content.insert(valueStart, newValue.getBuffer(), newValue.length());
        }
        changed();
        return;
    }
    // An empty value for a missing key still writes "key=": stored files rely on it.
    SString line = raw(key);
    line.append('=');
    line.append(newValue);
    line.append("\r\n");
    if (r.header >= 0) {
        breakHeaderLine(r);
        content.insert(r.bodyStart, line.getBuffer(), line.length());
    } else {
        content.append("\r\n[");
        content.append(section ? section : "");
        content.append("]\r\n");
        content.append(line);
    }
    changed();
}

void SFileIni::setInt(const char* section, const char* key, int value) {
    SString text;
    text.format("%d", value);
    setString(section, key, text);
}

// ---------------------------------------------------------------- sections

bool SFileIni::hasSection(const char* section) {
    checkWatch();
    return findSection(section).header >= 0;
}

SString SFileIni::getSectionText(const char* section) {
    checkWatch();
    Range r = findSection(section);
    if (r.header < 0) return SString();
    SString body = content.mid(r.bodyStart, r.bodyEnd - r.bodyStart);
    if (!body.isEmpty() && !body.endsWith("\r\n")) body.append("\r\n");
    return body;
}

bool SFileIni::setSectionText(const char* section, const char* text) {
    checkWatch();
    SString body = raw(text);
    if (!body.isEmpty() && !body.endsWith("\r\n")) body.append("\r\n");
    Range r = findSection(section);
    if (r.header >= 0) {
        if (!sameBytes(content.mid(r.bodyStart, r.bodyEnd - r.bodyStart), body)) {
            breakHeaderLine(r);
            content.remove(r.bodyStart, r.bodyEnd - r.bodyStart);
            content.insert(r.bodyStart, body.getBuffer(), body.length());
            changed();
        }
        return true;
    }
    content.append("\r\n\r\n[");
    content.append(section ? section : "");
    content.append("]\r\n");
    content.append(body);
    changed();
    return false;
}

int SFileIni::getSection(const char* section, SStringList& keys, SStringList* values, bool skipComments) {
    checkWatch();
    SStringList lines;
    lineItems(findSection(section), lines, skipComments);
    keys.clear();
    if (values) values->clear();
    for (int i = 0; i < lines.count(); ++i) {
        if (!values) {
            keys.add(lines[i]);
            continue;
        }
        SString key, value;
        if (!splitEntry(lines[i], key, value)) value = lines[i]; // a line without "=" has no key
        keys.add(key);
        values->add(value);
    }
    return lines.count();
}

int SFileIni::getEntries(const char* section, SMapStringToString& map, bool clear) {
    checkWatch();
    if (clear) map.clear();
    SStringList lines;
    lineItems(findSection(section), lines, true);
    int taken = 0;
    for (int i = 0; i < lines.count(); ++i) {
        SString key, value;
        if (!splitEntry(lines[i], key, value)) continue;
        map.set(key, value);
        ++taken;
    }
    return taken;
}

int SFileIni::getEntries(const char* section, SMapStringToNum& map, bool clear) {
    if (clear) map.clear();
    SMapStringToString texts;
    int taken = getEntries(section, texts, true);
    for (int i = 0; i < texts.count(); ++i) map.set(texts.getKeyAt(i), texts.getValueAt(i).toNumber());
    return taken;
}

bool SFileIni::setEntries(const char* section, const SMapStringToString& map) {
    SString body;
    for (int i = 0; i < map.count(); ++i) {
        body.append(map.getKeyAt(i));
        body.append('=');
        body.append(map.getValueAt(i));
        body.append("\r\n");
    }
    return setSectionText(section, body);
}

bool SFileIni::patternMatches(const char* name, const char* patterns) {
    SString subject = raw(name);
    SStringList list;
    list.split(patterns ? patterns : "", "|", true);
    for (int i = 0; i < list.count(); ++i)
        if (singlePatternMatches(subject, list[i])) return true;
    return false;
}

int SFileIni::findSections(SStringList& names, const char* patterns, SStringList* texts) {
    checkWatch();
    names.clear();
    if (texts) texts->clear();
    const char* text = content.getBuffer();
    // Each "[" that starts the text or follows a CR LF; the first may also follow one at 0.
    auto nextHeader = [this](int from) {
        int hit = content.find("\r\n[", from);
        return hit < 0 ? -1 : hit + 2;
    };
    int at = content.startsWith("[") ? 0 : nextHeader(0);
    while (at >= 0 && at < content.length()) {
        int close = at + 1;
        while (close < content.length() && text[close] != ']' && !isLineEnd(text[close])) ++close;
        if (close < content.length() && text[close] == ']') {
            SString name = content.mid(at + 1, close - at - 1);
            if (patternMatches(name, patterns) && names.find(name) < 0) {
                names.add(name);
                if (texts) {
                    Range r = sectionAt(at, close);
                    texts->add(content.mid(r.bodyStart, r.bodyEnd - r.bodyStart).trim());
                }
            }
        }
        at = nextHeader(at);
    }
    return names.count();
}

void SFileIni::copySections(SFileIni& other, const char* patterns) {
    SStringList names;
    other.findSections(names, patterns);
    for (int i = 0; i < names.count(); ++i) setSectionText(names[i], other.getSectionText(names[i]));
}

void SFileIni::mergeEntries(SFileIni& other, const char* patterns) {
    SStringList names;
    other.findSections(names, patterns);
    for (int i = 0; i < names.count(); ++i) {
        SMapStringToString map;
        getEntries(names[i], map, true);
        other.getEntries(names[i], map, false);
        setEntries(names[i], map);
    }
}

bool SFileIni::processImports() {
    SStringList chain;
    chain.add(path);
    return processImports(chain);
}

// `chain` holds the files being imported right now, so that a file importing itself
// (directly or through others) ends instead of recursing without end.
bool SFileIni::processImports(SStringList& chain) {
    SStringList modes, specs;
    getSection("import", modes, &specs, true);
    bool ok = true;
    for (int i = 0; i < modes.count(); ++i) {
        int pos = 0;
        SString file = specs[i].token(",", pos).trim();
        SString patterns = specs[i].token(",", pos).trim();
        SString option = specs[i].from(pos).trim();
        if (!importFile(modes[i], file, patterns, option, chain)) ok = false;
    }
    return ok;
}

bool SFileIni::importFile(const SString& mode, const SString& file, const SString& patterns,
                          const SString& option, SStringList& chain) {
    const bool bySections = mode == "sections";
    if (!bySections && mode != "entries") return false;
    SString full;
    int cut = path.findLastChar('\\');
    int slash = path.findLastChar('/');
    if (slash > cut) cut = slash;
    if (!isAbsolutePath(file) && cut >= 0) {
        full = path.left(cut + 1);
    }
    full.append(file);
    if (file.isEmpty() || chain.find(full) >= 0) return false;

    SFileIni other;
    if (!other.load(full, false, true)) return false;
    chain.add(full);
    other.processImports(chain);
    chain.removeAt(chain.count() - 1);

    SStringList names;
    other.findSections(names, patterns);
    for (int i = 0; i < names.count(); ++i) {
        const SString& name = names[i];
        if (!hasSection(name)) {
            setSectionText(name, other.getSectionText(name));
        } else if (bySections) {
            if (option == "ignore") continue;
            SString body = option == "addContent" ? getSectionText(name) : SString();
            body.append(other.getSectionText(name));
            setSectionText(name, body);
        } else {
            SMapStringToString map;
            SFileIni& first = option == "ignore" ? other : *this;
            SFileIni& winner = option == "ignore" ? *this : other;
            first.getEntries(name, map, true);
            winner.getEntries(name, map, false);
            setEntries(name, map);
        }
    }
    return true;
}

// ---------------------------------------------------------------- list sections

int SFileIni::getList(const char* section, SStringList& items) {
    getSection(section, items, nullptr, true);
    if (items.count() > 0 && items[0].startsWith("maxEntries=")) items.removeAt(0);
    return items.count();
}

void SFileIni::writeList(const char* section, SStringList& items, int maxEntries) {
    SString body;
    body.format("maxEntries=%d\r\n", maxEntries);
    for (int i = 0; i < items.count() && i < maxEntries; ++i) {
        body.append(items[i]);
        body.append("\r\n");
    }
    setSectionText(section, body);
}

void SFileIni::addToList(const char* section, const char* item) {
    SString entry = raw(item).trim();
    if (entry.isEmpty()) return;
    int maxEntries = getInt(section, "maxEntries", 10);
    SStringList items;
    getList(section, items);
    for (int i = items.count() - 1; i >= 0; --i)
        if (sameBytes(items[i], entry)) items.removeAt(i);
    items.insertAt(0);
    items.setAt(0, entry);
    writeList(section, items, maxEntries);
}

void SFileIni::addKeyToList(const char* section, const char* line) {
    SString entry = raw(line).trim();
    if (entry.isEmpty()) return;
    int eq = entry.findChar('=');
    // Lines of the same key go, but not those of a longer key that merely starts alike.
    SString keyPrefix = eq < 0 ? entry : entry.left(eq);
    keyPrefix.append('=');
    int maxEntries = getInt(section, "maxEntries", 10);
    SStringList items;
    getList(section, items);
    for (int i = items.count() - 1; i >= 0; --i)
        if (sameBytes(items[i], entry) || items[i].startsWith(keyPrefix)) items.removeAt(i);
    items.insertAt(0);
    items.setAt(0, entry);
    writeList(section, items, maxEntries);
}

// The format chooses the text's language variant first, then the file and the reason go in.
void SFileIni::reportNotSaved(const char* text) const {
    SString message;
    message.format(text, path.getBuffer(), errorText.getBuffer());
    globalError.show(message, 0, "Fehler !", 16);
}
