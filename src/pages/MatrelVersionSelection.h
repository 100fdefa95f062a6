#pragma once
// The choice of the image-library variant: five radio buttons, of which the
// two IPP variants are offered only with IPP installed and the beta variant
// is never offered (it stays checked, hidden, when it is the active one).
#include <string>

#include "app/Dialog.h"

class DMatrelVersionSelection : public hnDialog {
public:
    DMatrelVersionSelection();

    int selectedVariant = 0; // in: the active variant; out: the chosen one, 1 to 5
    bool ippInstalled = true;
    std::string notes;

    // The radio button of a variant (0 for none) and the variant of a radio.
    static int radioOf(int variant);

protected:
    bool onInitDialog() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    void onOK() override;
};
