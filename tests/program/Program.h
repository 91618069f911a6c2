// Program: Anlage.exe as a user runs it, in a folder of its own, driven from outside through
// its windows: controls found by class and text, real clicks and keys, texts read back with
// WM_GETTEXT, message boxes found and answered like a person would.
#pragma once

#include "tests/support/TempDir.h"

#include <windows.h>

#include <functional>
#include <string>

// The text of any window, also of another process's edit control.
std::string textOf(HWND h);
std::string classOf(HWND h);
// The first direct child of parent with that class whose text is text (or begins with it
// when prefix is set).
HWND childOf(HWND parent, const char* className, const std::string& text, bool prefix = false);
std::string windowsPath(std::string unixPath);
// Copies the files (not the folders) of a Unix folder into a Windows folder, made if missing.
void copyFiles(const char* unixFolder, const std::string& windowsFolder);
// The user configuration file of the program in this prefix (%APPDATA%\VEK\Anlage.cfg).
std::string userConfigPath();
void forgetSettings();
// The program's [Experiment] settings point at the servers; nothing else is stored.
void pointSettingsAt(int webPort, int experimentPort);
// The text of a message box.
std::string boxText(HWND box);

class Program {
public:
    // Copies exe (Unix path) into <temp>\Anlage\ and starts it there; with resources (a Unix
    // folder), its files are copied into VEK-Resourcen beside the program first.
    explicit Program(const char* exe = ANLAGE_PACKED, const char* resources = nullptr);
    ~Program(); // ends a process still running

    // Starts the copy (again, after it ended).
    bool start();
    // Starts it with this command line in this working folder, as a console or a link may.
    bool start(std::string commandLine, const std::string& workingFolder);
    // The program's visible top-level window, once it shows (within timeoutMs).
    HWND waitForMainWindow(int timeoutMs = 15000);
    // The visible top-level window of the program owned by the main window (the experiment
    // window), once it shows.
    HWND waitForOwnedWindow(int timeoutMs = 5000);
    // A message box (#32770) of the program other than except, once it shows.
    HWND waitForBox(int timeoutMs = 10000, HWND except = nullptr);
    // Whether no message box of the program is open.
    bool noBox() { return findTopLevel(true) == nullptr; }
    // Presses the box's OK button with the mouse; whether the box went away.
    bool pressOk(HWND box);

    HWND child(const char* className, const std::string& text) const { return childOf(main, className, text); }
    HWND childStarting(const char* className, const std::string& prefix) const {
        return childOf(main, className, prefix, true);
    }
    // Where a control stands in the main window's client area.
    POINT placeOf(HWND control) const;
    // A real click in the middle of a control.
    static bool click(HWND control);
    // Clicks until done() holds, at most three times: on a loaded machine a click may reach
    // a window before it takes input. done() must tell a click that arrived from one that did
    // not, within a third of timeoutMs.
    static bool press(HWND control, const std::function<bool()>& done, int timeoutMs = 15000);
    // The port control's button: the port opens ("trennen" shows) or closes ("verbinden" shows).
    bool connectPort();
    bool disconnectPort();
    // Whether the end button ended the program, with exit code 0.
    bool endsByItsButton();
    // A message box as the user reads it, "caption: text"; OK closes it.
    std::string answerBox(int timeoutMs = 10000);
    // The firmware the upload sends, where the program looks for it: beside its folder.
    void writeFirmware(const char* bytes) const;
    // Whether the main window still answers messages.
    bool responds() const;
    // Whether the process ended within timeoutMs; its exit code.
    bool ended(int timeoutMs, DWORD& code);

    TempDir root;       // holds the program's folder and its firmware folder beside it
    std::string folder; // <root>\Anlage
    std::string exe;
    bool started = false;
    HWND main = nullptr;

private:
    HWND findTopLevel(bool box, HWND owner = nullptr, HWND except = nullptr);
    void close();

    PROCESS_INFORMATION process{};
};
