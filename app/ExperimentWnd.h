// ExperimentWnd: the window in which a student runs the remote experiment: name and
// matriculation number, connect, firmware upload, start, finish, the camera page and the
// protocol view. Closing it hides it and ends the session; the window and its protocol
// text stay for the next opening.
#pragma once

#include "VEK_GUI/SFrameWindow.h"
#include "app/ExperimentControls.h"
#include "app/ExperimentEffects.h"
#include "app/ExperimentSession.h"
#include "app/ExperimentSettings.h"
#include "app/NetClient.h"
#include "app/Protokoll.h"
#include "app/TelemetrySink.h"

class ExperimentWnd : public SFrameWindow, public ExperimentEffects {
public:
    ExperimentWnd();
    ~ExperimentWnd() override;
    const char* getClassName() const override { return "ExperimentWnd"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    void onPreCreateWindow() override;
    void onCreate(CREATESTRUCTA* createStruct) override;
    void onFirstShow() override;
    int onClose() override;

    // The buttons' actions.
    void connect();
    void upload();
    void start();
    void finish();
    void openCamera();
    void end();

    // Where relayed telemetry bytes go (the main window's decoder); none: they are dropped.
    void setTelemetrySink(TelemetrySink* sink) { telemetrySink = sink; }
    int getState() const { return session.getState(); }
    NetClient& getNetClient() { return netClient; }
    Protokoll& getProtokoll() { return protokoll; }
    SButton& getButton(Button button);
    SButton& getKamera() { return btnKamera; }
    SButton& getEnde() { return btnEnde; }
    SEdit& getEditName() { return editName; }
    SEdit& getEditMatrikel() { return editMatrikel; }

    static SString cameraAddress(const SString& host) { return "http://" + host + "/tql/camera.php"; }
    static SString firmwarePath();

    // The session's effects on this window.
    void append(const SString& text) override { protokoll.append(text); }
    void enableButton(Button button, bool on) override { getButton(button).enable(on); }
    void feedTelemetry(unsigned char byte) override;
    void debugLine(const SString& text) override;
    void closeStream() override { netClient.close(); }
    void saveProtocol(const SMem& csv) override;

private:
    void showError(const char* text) { protokoll.showError(text); }
    // The stream closed, Idle, and the buttons as after creation.
    void endSession();
    // Whether the session was ended (the window closed) since `ends` was taken, or the
    // window is gone: what waited then ends without a word.
    bool endedSince(unsigned ends) const { return sessionEnds != ends || !isWindow(); }
    // The whole file, or false with the reason in words.
    static bool readFirmware(const char* path, SMem& bytes, SString& reason);
    static bool writeBytes(const char* path, const SMem& bytes);

    ExperimentSession session;
    ExperimentSettings settings;
    NetClient netClient;
    TxtUeberschrift txtUeberschrift;
    Protokoll protokoll;
    BtnVerbinden btnVerbinden;
    BtnUpload btnUpload;
    BtnStart btnStart;
    BtnFertig btnFertig;
    BtnKamera btnKamera;
    BtnEnde btnEnde;
    EditName editName;
    EditMatrikel editMatrikel;
    TelemetrySink* telemetrySink = nullptr;
    bool waiting = false;     // a connect or upload waits on the network (messages flow meanwhile)
    unsigned sessionEnds = 0; // counts endSession()
};
