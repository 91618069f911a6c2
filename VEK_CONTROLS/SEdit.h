// SEdit: an edit field ("EDIT") styled by "SEdit-normal", with a one-pixel border in its
// border colour and an optional label.
#pragma once

#include "VEK_CONTROLS/SControlPredefined.h"

#include <memory>

class SLabel;

class SEdit : public SControlPredefined {
public:
    SEdit();
    ~SEdit() override;
    const char* getClassName() const override { return "SEdit"; }

    void onBeforeCreate() override;
    bool onNcPaint(SDevice& device) override;

    // The label's numbers are multiplied by the font scale. One label per control.
    bool addLabel(const char* text, int offsetX, int offsetY, int width = -1, int height = -1);
    SLabel* getLabel() const { return label.get(); }
    // Fill colour and text background.
    void setBackground(COLORREF colour);
    void setSel(int start, int end) { sendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end); }
    void replaceSel(const char* text) { sendMessage(EM_REPLACESEL, TRUE, (LPARAM)text); }
    void setBorderColor(COLORREF colour) { borderColor = colour; }
    COLORREF getBorderColor() const { return borderColor; }

    // addLabel for any control: the label of `control` kept in `slot`.
    static bool addLabelTo(SControlPositioned& control, std::unique_ptr<SLabel>& slot, const char* text, int offsetX,
                           int offsetY, int width, int height);

protected:
    std::unique_ptr<SLabel> label;
    COLORREF borderColor = 0;
};
