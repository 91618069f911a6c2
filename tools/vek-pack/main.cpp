// vek-pack PROGRAM.exe RESOURCE_DIR [-o OUT.exe]
// Appends every file of RESOURCE_DIR as a resource pack to the program and sets the
// program's presence flag. Without -o the program file itself is replaced.
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResourcePackWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Messages are Windows-1252 like the library's; the terminal wants UTF-8.
int fail(const SString& text) {
    std::fprintf(stderr, "vek-pack: %s\n", text.toUtf8().getBuffer());
    return 1;
}

int usage() {
    std::fprintf(stderr, "Aufruf: vek-pack PROGRAMM.exe RESSOURCEN-VERZEICHNIS [-o AUSGABE.exe]\n");
    return 2;
}

// Regular files of the directory, sorted; hidden files (.gitkeep …) are left out.
bool listResources(const char* dir, std::vector<fs::path>& files, SString& error) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) {
        error.setRaw("Ressourcen-Verzeichnis kann nicht gelesen werden: ").append(dir);
        return false;
    }
    for (const fs::directory_entry& entry : it) {
        std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        if (!entry.is_regular_file()) {
            error.setRaw("Keine einfache Datei (Unterverzeichnisse werden nicht gepackt): ");
            error.append(entry.path().string().c_str());
            return false;
        }
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const char* out = nullptr;
    std::vector<const char*> positional;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc)
            out = argv[++i];
        else if (argv[i][0] == '-')
            return usage();
        else
            positional.push_back(argv[i]);
    }
    if (positional.size() != 2) return usage();
    const char* program = positional[0];
    if (!out) out = program;

    SString error;
    std::vector<fs::path> files;
    if (!listResources(positional[1], files, error)) return fail(error);
    SResourcePackWriter writer;
    long long total = 0;
    for (const fs::path& file : files) {
        SString content, name;
        if (!SSystem::readFile(file.string().c_str(), content))
            return fail(SString("Ressource kann nicht gelesen werden: ") + file.string().c_str());
        name.fromUtf8(file.filename().string().c_str());
        if (!writer.addEntry(name, content.getBuffer(), content.length())) return fail(writer.getErrorText());
        total += content.length();
    }
    std::error_code ec; // a packed program stays as executable as it was
    fs::perms mode = fs::status(program, ec).permissions();
    if (!writer.packFile(program, out)) return fail(writer.getErrorText());
    if (!ec) fs::permissions(out, mode, ec);
    std::printf("vek-pack: %d Ressourcen (%lld Byte) an %s angeh\303\244ngt\n", writer.getCount(), total,
                out); // UTF-8: the terminal's encoding
    return 0;
}
