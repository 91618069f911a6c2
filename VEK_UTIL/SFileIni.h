// SFileIni: an INI file kept as one text and edited in place, so that comments, blank
// lines and the order of sections and entries survive every change. Lines end in CR LF;
// sections and keys match byte for byte (case-sensitive, no blanks around "=").
#pragma once

#include "VEK_UTIL/SString.h"

#include <cstdint>

class SStringList;
class SMapStringToString;
class SMapStringToNum;

class SFileIni {
public:
    SFileIni() = default;
    SFileIni(const SFileIni&) = delete;
    SFileIni& operator=(const SFileIni&) = delete;
    virtual ~SFileIni(); // saves pending changes unless the last load or save failed
    virtual const char* getClassName() const { return "SFileIni"; }

    // File
    bool load(const char* path, bool create = false, bool readOnly = false);
    // Takes a file's bytes as if they had just been read (mask removed, CR LF completed).
    void loadFromText(const char* text, int length = -1);
    bool save();
    void close(bool saveFirst = true);
    const SString& getPath() const { return path; }
    const SString& getContent() const { return content; }
    bool isModified() const { return modified; }
    bool isReadOnly() const { return readOnly; }
    const SString& getErrorText() const { return errorText; }
    // Tells the user, in a box, that a save failed: text (a language text) takes the file's
    // path and the system's reason for its two %s.
    void reportNotSaved(const char* text) const;
    // In watch mode every operation reloads the file when it changed on disk, and every
    // change is saved at once.
    void setWatchFile(bool on);
    bool isWatchFile() const { return watchFile; }
    int64_t getFileTime() const { return fileTime; }

    // Entries
    SString getString(const char* section, const char* key, const char* defaultValue = "");
    int getInt(const char* section, const char* key, int defaultValue = 0);
    void setString(const char* section, const char* key, const char* value);
    void setInt(const char* section, const char* key, int value);

    // Sections
    bool hasSection(const char* section);
    SString getSectionText(const char* section);
    bool setSectionText(const char* section, const char* text);
    int getSection(const char* section, SStringList& keys, SStringList* values = nullptr,
                   bool skipComments = true);
    int getEntries(const char* section, SMapStringToString& map, bool clear = true);
    int getEntries(const char* section, SMapStringToNum& map, bool clear = true);
    bool setEntries(const char* section, const SMapStringToString& map);
    int findSections(SStringList& names, const char* patterns, SStringList* texts = nullptr);
    void copySections(SFileIni& other, const char* patterns);
    void mergeEntries(SFileIni& other, const char* patterns);
    bool processImports();

    // List sections: items newest first, led by an optional "maxEntries=N" line (N defaults to 10).
    int getList(const char* section, SStringList& items);
    void addToList(const char* section, const char* item);
    void addKeyToList(const char* section, const char* line);

    // The byte from which the content mask of stored files is derived.
    static constexpr unsigned char maskBase = 0x5A;
    static bool patternMatches(const char* name, const char* patterns);

private:
    struct Range {
        int header = -1; // index of "[", -1 when the section is missing
        int bodyStart = 0;
        int bodyEnd = 0;
    };
    Range findSection(const char* section) const;
    Range sectionAt(int header, int close) const;
    void breakHeaderLine(Range& section);
    bool findKey(const Range& section, const char* key, int& keyStart, int& valueStart, int& valueEnd) const;
    void lineItems(const Range& section, SStringList& lines, bool skipComments) const;
    void takeText(SString&& text);
    void checkWatch();
    void changed();
    void writeList(const char* section, SStringList& items, int maxEntries);
    bool processImports(SStringList& chain);
    bool importFile(const SString& mode, const SString& file, const SString& patterns, const SString& option,
                    SStringList& chain);
    static void applyMask(SString& text, char flag);
    static void widenLineFeeds(SString& text);

    SString errorText;
    bool watchFile = false;
    bool modified = false;
    SString path;
    SString content;
    bool readOnly = false;
    int64_t fileTime = -1;
};
