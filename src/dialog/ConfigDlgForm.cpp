#include "dialog/ConfigDlgForm.h"

#include <commctrl.h>

#include "dialog/ControlIds.h"
#include "dialog/PanelWindow.h"

namespace {

using D = TConfigDialog;

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDropDownList = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kPanel = WS_CLIPSIBLINGS;
// Right-aligned from the start as well: not every system honours an alignment that
// MakeNumberEdit adds after creation.
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL | ES_RIGHT;
// Steps by 1 without wrapping, writes its position into the edit box with thousands
// separators, and answers the arrow keys in the edit box.
constexpr DWORD kUpDown = UDS_SETBUDDYINT | UDS_ARROWKEYS;
// Entries a dropped-down list shows before it scrolls; a shorter list drops down only as far as
// its entries.
constexpr int kListRows = 10;

constexpr FormHandler kNoHandler{0, nullptr, nullptr};
constexpr FormHandler Click(CommandHandler handler) { return {BN_CLICKED, handler, nullptr}; }
constexpr FormHandler Change(CommandHandler handler) { return {CBN_SELCHANGE, handler, nullptr}; }
constexpr FormHandler ChangingEx(ChangingHandler handler) { return {0, nullptr, handler}; }

}  // namespace

const FormControl kFormControls[] = {
    {&D::pnlBase, nullptr, kIdBase, kPanelClassName, nullptr, 0, 0, kFormClientWidth,
     kFormClientHeight, kPanel, WS_EX_CONTROLPARENT, -1, 0, kNoHandler},
    {&D::Label1, &D::pnlBase, kIdLabelSize, "STATIC", "サイズ", 12, 12, 29, 12, kLabel, 0, -1, 0,
     kNoHandler},
    {&D::Label2, &D::pnlBase, kIdLabelLuma, "STATIC", "輝度", 12, 36, 24, 12, kLabel, 0, -1, 0,
     kNoHandler},
    {&D::Label3, &D::pnlBase, kIdLabelChroma, "STATIC", "色差", 12, 60, 24, 12, kLabel, 0, -1, 0,
     kNoHandler},
    {&D::Label4, &D::pnlBase, kIdLabelSIMD, "STATIC", "SIMD", 12, 84, 27, 12, kLabel, 0, -1, 0,
     kNoHandler},
    {&D::btnAddSize, &D::pnlBase, kIdAddSize, "BUTTON", "追加", 144, 8, 36, 20, kButton, 0, 0, 0,
     Click(&D::btnAddSizeClick)},
    {&D::btnDeleteSize, &D::pnlBase, kIdDeleteSize, "BUTTON", "削除", 180, 8, 36, 20, kButton, 0,
     1, 0, Click(&D::btnDeleteSizeClick)},
    {&D::cbLumaMode, &D::pnlBase, kIdLumaMode, "COMBOBOX", nullptr, 52, 32, 120, 20,
     kDropDownList, 0, 2, kListRows, Change(&D::cbLumaModeChange)},
    {&D::cbChromaMode, &D::pnlBase, kIdChromaMode, "COMBOBOX", nullptr, 52, 56, 120, 20,
     kDropDownList, 0, 3, kListRows, Change(&D::cbChromaModeChange)},
    {&D::cbSizeList, &D::pnlBase, kIdSizeList, "COMBOBOX", nullptr, 52, 8, 88, 20, kDropDownList,
     0, 4, kListRows, Change(&D::cbSizeListChange)},
    {&D::pnlLumaParam, &D::pnlBase, kIdLumaParamPanel, kPanelClassName, "  半径", 176, 30, 100,
     24, kPanel, WS_EX_CONTROLPARENT, 5, 0, kNoHandler},
    {&D::edtLumaParam, &D::pnlLumaParam, kIdLumaParamEdit, "EDIT", "0", 48, 2, 32, 20, kEdit,
     WS_EX_CLIENTEDGE, 0, 0, kNoHandler},
    {&D::udLumaParam, &D::pnlLumaParam, kIdLumaParamUpDown, UPDOWN_CLASSA, nullptr, 80, 2, 16, 20,
     kUpDown, 0, 1, 0, ChangingEx(&D::udLumaParamChangingEx)},
    {&D::pnlChromaParam, &D::pnlBase, kIdChromaParamPanel, kPanelClassName, "  半径", 176, 54,
     100, 24, kPanel, WS_EX_CONTROLPARENT, 6, 0, kNoHandler},
    {&D::edtChromaParam, &D::pnlChromaParam, kIdChromaParamEdit, "EDIT", "0", 48, 2, 32, 20,
     kEdit, WS_EX_CLIENTEDGE, 0, 0, kNoHandler},
    {&D::udChromaParam, &D::pnlChromaParam, kIdChromaParamUpDown, UPDOWN_CLASSA, nullptr, 80, 2,
     16, 20, kUpDown, 0, 1, 0, ChangingEx(&D::udChromaParamChangingEx)},
    {&D::cbSIMDMode, &D::pnlBase, kIdSIMDMode, "COMBOBOX", nullptr, 52, 80, 120, 20,
     kDropDownList, 0, 7, kListRows, Change(&D::cbSIMDModeChange)},
};

const size_t kFormControlCount = sizeof kFormControls / sizeof kFormControls[0];
