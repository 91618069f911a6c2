// DialogAnswerer: while it lives, every real dialog (#32770: message boxes, common dialogs)
// that this thread activates is recorded and answered with a chosen button, so modal UI
// never waits for a person. For boxes of the library itself use BoxRecorder instead.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

struct AnsweredDialog {
    HWND hwnd;
    std::string caption;
    std::string text; // the message box text (control 0xFFFF); empty for other dialogs
    int answer;       // the button pressed; 0 when it was missing and Enter was pressed instead
};

class DialogAnswerer {
public:
    explicit DialogAnswerer(int answer = IDOK);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Text put into control id of every following dialog that has such a control.
    void fill(int controlId, std::string text) { fills.emplace_back(controlId, std::move(text)); }

    int count() const { return (int)dialogs.size(); }
    const AnsweredDialog& last() const { return dialogs.back(); }

    std::vector<AnsweredDialog> dialogs;
    int answer;

private:
    static LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam);
    void onActivate(HWND dialog);

    HHOOK hook = nullptr;
    DialogAnswerer* previous = nullptr;
    std::set<HWND> seen;
    std::vector<std::pair<int, std::string>> fills;
};
