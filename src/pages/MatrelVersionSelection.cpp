#include "pages/MatrelVersionSelection.h"

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "pages_ids.h"

namespace {

struct VariantRadio {
    int variant;
    int radio;
    const char* text;
};
// In the order "Select" reads them.
const VariantRadio kRadios[] = {
    {1, IDC_MATREL_INTEL, "Intel Compiler DLL"},
    {2, IDC_MATREL_INTEL_IPP, "Intel with IPP"},
    {3, IDC_MATREL_VC, "Visual C Compiler DLL"},
    {4, IDC_MATREL_VC_IPP, "Visual C with IPP"},
    {5, IDC_MATREL_BETA, "Visual C Beta DLL for test purposes"},
};

} // namespace

DMatrelVersionSelection::DMatrelVersionSelection()
    : hnDialog(IDD_MATREL_SELECTION),
      notes("Notes:\n(a) 'Visual C Compiler DLL' is the most robust and compatible DLL.\n(b) The 'Intel "
            "Compiler DLL' is faster but may have some incompatibility, hence it must be verified before "
            "using.\n(c) IPP speeds up image resampling (10x)") {
    bindText(IDC_MATREL_NOTES, &notes);
}

int DMatrelVersionSelection::radioOf(int variant) {
    for (const VariantRadio& radio : kRadios)
        if (radio.variant == variant)
            return radio.radio;
    return 0;
}

bool DMatrelVersionSelection::onInitDialog() {
    transferToControls();
    for (const VariantRadio& radio : kRadios)
        ::SetDlgItemTextA(hwnd(), radio.radio, radio.text);
    if (!ippInstalled) {
        ::EnableWindow(item(IDC_MATREL_INTEL_IPP), FALSE);
        ::EnableWindow(item(IDC_MATREL_VC_IPP), FALSE);
    }
    bool ippVariant = selectedVariant == 2 || selectedVariant == 4;
    if (int radio = radioOf(selectedVariant))
        if (!ippVariant || ippInstalled)
            ::CheckDlgButton(hwnd(), radio, BST_CHECKED);
    ::ShowWindow(item(IDC_MATREL_BETA), SW_HIDE);
    centerOnOwner();
    return true;
}

bool DMatrelVersionSelection::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        for (const VariantRadio& clicked : kRadios) {
            if (clicked.radio != id)
                continue;
            for (const VariantRadio& other : kRadios)
                if (other.radio != id)
                    ::CheckDlgButton(hwnd(), other.radio, BST_UNCHECKED);
            return true;
        }
    }
    return hnDialog::onCommand(id, code, control);
}

void DMatrelVersionSelection::onOK() {
    for (const VariantRadio& radio : kRadios) {
        if (::IsDlgButtonChecked(hwnd(), radio.radio) == BST_CHECKED) {
            selectedVariant = radio.variant;
            endDialog(IDOK);
            return;
        }
    }
    hnAppBase::current()->prompter().messageBox(hwnd(), "Please select a version.", kInstallerCaption, MB_OK);
}
