// MainWnd: the program's main window. It shows the mixing-tank plant from the controller's
// telemetry, which arrives over the serial port control or, during a remote experiment,
// relayed by the experiment server; both reach the one decoder on the GUI thread. The mix
// buttons send a ratio back, to the server while an experiment runs, else over the port.
// "Aufzeichnen" records the frames of both roads into a CSV file; the title says what the
// window is connected to.
#pragma once

#include "VEK_CONTROLS/SButton.h"
#include "VEK_GraphicsElement/SFrameWindowGraphics.h"
#include "app/Behaelter.h"
#include "app/Entnahme.h"
#include "app/ExperimentWnd.h"
#include "app/MainWndButtons.h"
#include "app/Pumpe1.h"
#include "app/Pumpe2.h"
#include "app/Steuerung.h"
#include "app/TelemetryDecoder.h"
#include "app/TelemetryEffects.h"
#include "app/TelemetryRecorder.h"
#include "app/TelemetrySink.h"
#include "app/TxtAktion.h"
#include "app/TxtAufzeichnung.h"
#include "app/TxtMix1.h"
#include "app/TxtMix2.h"
#include "app/TxtWert.h"
#include "app/Verlauf.h"
#include "app/Zuleitung1.h"
#include "app/Zuleitung2.h"

class MainWnd : public SFrameWindowGraphics, public TelemetryEffects, public TelemetrySink {
public:
    MainWnd();
    ~MainWnd() override;
    const char* getClassName() const override { return "MainWnd"; }

    void onPreCreateWindow() override;
    void onFirstShow() override;
    void onDestroy() override;
    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    void onReceiveByte(unsigned char byte) override;
    void onTimer(DWORD tickCount) override;
    // Relayed by the experiment client, already on the GUI thread.
    void onTelemetryByte(unsigned char byte) override;

    // BtnExperiment: the experiment window, made on first use to the right of this one.
    void openExperiment();
    // A mix button: the ratio first : second to the server or the controller.
    void sendMix(int first, int second);
    // BtnAufzeichnen: asks for a file and starts recording, or ends the recording.
    void toggleRecording();
    // Starts recording into path without asking; false (after a box) when it cannot begin.
    bool startRecording(const char* path);
    void stopRecording();
    // "Anlage", and what the window is connected to: "Anlage – COM1", "Anlage – Experiment".
    SString titleText();

    // The decoder's effects on the plant display.
    void showLevel(const SString& valueText, int level) override;
    void setStatusText(const SString& text) override;
    void setPump1(float value) override;
    void setPump2(float value) override;
    void setRatio1Text(const SString& text) override;
    void setRatio2Text(const SString& text) override;
    void repaintPump1() override;
    void repaintPump2() override;

    Steuerung& getSteuerung() { return steuerung; }
    ExperimentWnd& getExperimentWnd() { return experimentWnd; }
    SButton& getBtnEnde() { return btnEnde; }
    TxtWert& getTxtWert() { return txtWert; }
    Verlauf& getVerlauf() { return verlauf; }
    Fuellstand& getFuellstand() { return behaelter.fuellstand; }
    Pumpe1& getPumpe1() { return pumpe1; }
    Pumpe2& getPumpe2() { return pumpe2; }
    const TelemetryDecoder& getDecoder() const { return decoder; }
    const TelemetryRecorder& getRecorder() const { return recorder; }

private:
    void keepOnScreen(SRect& r);
    // The line's counts start afresh with each connection of Steuerung.
    void followConnection();
    static void setUpPump(Pumpe& pump, const char* caption);
    void showRecording();
    void updateTitle();

    // Members in the order the window builds them: the elements register in this order and
    // the controls take their grid places (the keys of their stored places) in this order.
    Steuerung steuerung;
    Behaelter behaelter;
    TxtWert txtWert;
    BtnExperiment btnExperiment;
    Zuleitung1 zuleitung1;
    Pumpe1 pumpe1;
    Zuleitung2 zuleitung2;
    Pumpe2 pumpe2;
    BtnMischA btnMischA;
    BtnMischB btnMischB;
    Verlauf verlauf;
    BtnMischC btnMischC;
    TxtMix2 txtMix2;
    TxtMix1 txtMix1;
    Entnahme entnahme;
    TxtAktion txtAktion;
    BtnAufzeichnen btnAufzeichnen;
    TxtAufzeichnung txtAufzeichnung;
    ExperimentWnd experimentWnd;
    SButton btnEnde;
    TelemetryDecoder decoder; // level and decoder state
    int countedConnection = -1;
    TelemetryRecorder recorder;
    uint64_t rowsShown = 0; // the row count txtAufzeichnung shows, and since when
    DWORD rowsShownAt = 0;
    SString shownTitle;
};
