// The dialog's windows: where each control sits, its size, caption, parent and tab order.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "DialogHarness.h"
#include "contracts/WindowFuncInfo.h"

namespace {

struct ExpectedControl {
  int id;
  int parentId;  // 0: the filter window
  const char *caption;
  int left, top, width, height;
};

// Positions and sizes in pixels inside the parent, as the form lays them out.
const ExpectedControl kExpected[] = {
    {kIdBase, 0, nullptr, 0, 0, 282, 114},
    {kIdLabelSize, kIdBase, "サイズ", 12, 12, 29, 12},
    {kIdLabelLuma, kIdBase, "輝度", 12, 36, 24, 12},
    {kIdLabelChroma, kIdBase, "色差", 12, 60, 24, 12},
    {kIdLabelSIMD, kIdBase, "SIMD", 12, 84, 27, 12},
    {kIdAddSize, kIdBase, "追加", 144, 8, 36, 20},
    {kIdDeleteSize, kIdBase, "削除", 180, 8, 36, 20},
    {kIdLumaMode, kIdBase, nullptr, 52, 32, 120, 20},
    {kIdChromaMode, kIdBase, nullptr, 52, 56, 120, 20},
    {kIdSizeList, kIdBase, nullptr, 52, 8, 88, 20},
    {kIdLumaParamPanel, kIdBase, nullptr, 176, 30, 100, 24},
    {kIdLumaParamEdit, kIdLumaParamPanel, nullptr, 48, 2, 32, 20},
    {kIdLumaParamUpDown, kIdLumaParamPanel, nullptr, 80, 2, 16, 20},
    {kIdChromaParamPanel, kIdBase, nullptr, 176, 54, 100, 24},
    {kIdChromaParamEdit, kIdChromaParamPanel, nullptr, 48, 2, 32, 20},
    {kIdChromaParamUpDown, kIdChromaParamPanel, nullptr, 80, 2, 16, 20},
    {kIdSIMDMode, kIdBase, nullptr, 52, 80, 120, 20},
};

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool IsLabel(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, "Static") == 0;
}

// The width of `text` in the window's font.
int TextWidth(HWND window, const std::string &text) {
  const HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return extent.cx;
}

bool IsComboBox(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT *>(&rect), 2);
  return rect;
}

TEST(DialogLayout, EveryControlSitsWhereTheFormPutsItWithItsCaption) {
  DialogHarness dialog;
  for (const ExpectedControl &expected : kExpected) {
    SCOPED_TRACE(expected.id);
    const HWND control = dialog.Control(expected.id);
    ASSERT_NE(control, nullptr);
    const HWND parent = expected.parentId ? dialog.Control(expected.parentId) : dialog.FilterWindow();
    EXPECT_EQ(GetParent(control), parent);
    const RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    if (!IsLabel(control)) {
      EXPECT_EQ(rect.right - rect.left, expected.width);
    }
    if (IsLabel(control)) {
      // Labels keep their stored width unless the run-time font needs more for the text.
      EXPECT_GE(rect.right - rect.left, expected.width);
      EXPECT_GE(rect.right - rect.left, TextWidth(control, TextOf(control)));
      EXPECT_EQ(rect.bottom - rect.top, expected.height);
    } else if (IsComboBox(control)) {
      // A closed combo box is as tall as its selection field allows: 20 pixels where the
      // system lets the field shrink to the item height, up to 22 under Wine.
      EXPECT_GE(rect.bottom - rect.top, expected.height);
      EXPECT_LE(rect.bottom - rect.top, expected.height + 2);
    } else {
      EXPECT_EQ(rect.bottom - rect.top, expected.height);
    }
    if (expected.caption) {
      EXPECT_EQ(TextOf(control), expected.caption);
    }
  }
}

// The shipped window functions and more sizes than a list shows.
DialogSetup LongListsSetup() {
  DialogSetup setup;
  setup.sizeList = "";
  for (int width = 100; width <= 1500; width += 100) setup.sizeList += std::to_string(width) + "x100,";
  setup.layout.windowFuncs = false;
  setup.layout.shippedWindowFuncs = true;
  return setup;
}

COMBOBOXINFO InfoOf(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(GetComboBoxInfo(combo, &info));
  return info;
}

// Dropped down, a list shows 10 entries, whatever item height the font gives, and scrolls to
// its last entry; a shorter list (the two kernels) shows all of its entries.
TEST(DialogLayout, DroppedDownListsShowTenEntriesAndScroll) {
  DialogHarness dialog(LongListsSetup());
  for (const auto &[id, longList] : {std::pair{kIdSizeList, true}, {kIdLumaMode, true},
                                     {kIdChromaMode, true}, {kIdSIMDMode, false}}) {
    SCOPED_TRACE(id);
    const HWND combo = dialog.Control(id);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    ASSERT_EQ(count > 10, longList);
    const int rows = std::min(count, 10);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    const HWND list = InfoOf(combo).hwndList;
    RECT client;
    GetClientRect(list, &client);
    const LRESULT itemHeight = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    SendMessageA(list, LB_SETTOPINDEX, count - 1, 0);
    const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(client.bottom - client.top, rows * itemHeight) << "items of " << itemHeight << " pixels";
    EXPECT_EQ(top, count - rows);
  }
}

// Every shipped function's name fits the closed method list's field in the dialog's font.
TEST(DialogLayout, ShippedMethodNamesFitTheMethodList) {
  DialogHarness dialog(LongListsSetup());
  const HWND luma = dialog.Control(kIdLumaMode);
  const RECT field = InfoOf(luma).rcItem;
  ASSERT_GT(dialog.Entries(kIdLumaMode).size(), 10u);
  for (const std::string &name : dialog.Entries(kIdLumaMode)) {
    EXPECT_LE(TextWidth(luma, name), field.right - field.left) << name;
  }
}

// Every parameter label of the shipped window functions fits, in the dialog's own font, into
// the caption area of a parameter panel: the space left of its edit box.
TEST(DialogLayout, ShippedParameterLabelsFitTheirCaptionArea) {
  DialogHarness dialog;
  const HWND panel = dialog.Control(kIdLumaParamPanel);
  const int captionWidth = RectInParent(dialog.Control(kIdLumaParamEdit)).left;
  ASSERT_EQ(captionWidth, 48);
  const HMODULE shipped = LoadLibraryA(QUORLIN_DIST_DLL "WindowFuncs.dll");
  ASSERT_NE(shipped, nullptr);
  const auto getInfo = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
      reinterpret_cast<void *>(GetProcAddress(shipped, "GetWindowFuncPluginInfo")));
  ASSERT_NE(getInfo, nullptr);
  int labels = 0;
  for (int32_t index = 0; const WindowFuncInfo *info = getInfo(index); ++index) {
    if (!info->ParamLabel) continue;
    ++labels;
    EXPECT_LE(TextWidth(panel, info->ParamLabel), captionWidth)
        << info->Name << ": \"" << info->ParamLabel << "\"";
  }
  FreeLibrary(shipped);
  EXPECT_GT(labels, 0);
}

// The tab key visits the focusable controls in window order.
std::vector<int> TabStops(HWND parent) {
  std::vector<int> ids;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) ids.push_back(GetDlgCtrlID(child));
    else if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

TEST(DialogLayout, TabOrderRunsThroughTheBaseAndEachParameterPanel) {
  DialogHarness dialog;
  EXPECT_EQ(TabStops(dialog.Control(kIdBase)),
            (std::vector<int>{kIdAddSize, kIdDeleteSize, kIdLumaMode, kIdChromaMode, kIdSizeList,
                              kIdLumaParamPanel, kIdChromaParamPanel, kIdSIMDMode}));
  EXPECT_EQ(TabStops(dialog.Control(kIdLumaParamPanel)), (std::vector<int>{kIdLumaParamEdit}));
  EXPECT_EQ(GetWindow(dialog.Control(kIdLumaParamEdit), GW_HWNDNEXT), dialog.Control(kIdLumaParamUpDown));
}

TEST(DialogLayout, ParameterEditsAreRightAlignedDigitBoxesFedByTheirUpDowns) {
  DialogHarness dialog;
  for (int edit : {kIdLumaParamEdit, kIdChromaParamEdit}) {
    const LONG style = GetWindowLongA(dialog.Control(edit), GWL_STYLE);
    EXPECT_TRUE(style & ES_RIGHT);
    EXPECT_TRUE(style & ES_NUMBER);
  }
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(dialog.Control(kIdLumaParamUpDown), UDM_GETBUDDY, 0, 0)),
            dialog.Control(kIdLumaParamEdit));
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(dialog.Control(kIdChromaParamUpDown), UDM_GETBUDDY, 0, 0)),
            dialog.Control(kIdChromaParamEdit));
  // Lanczos with its default 3 on both sides.
  EXPECT_EQ(TextOf(dialog.Control(kIdLumaParamEdit)), "3");
  EXPECT_EQ(TextOf(dialog.Control(kIdChromaParamEdit)), "3");
}

TEST(DialogLayout, ControlsUseATwelvePixelShiftJisFormFont) {
  DialogHarness dialog;
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog.Control(kIdAddSize), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA logFont{};
  GetObjectA(font, sizeof logFont, &logFont);
  EXPECT_EQ(logFont.lfHeight, -12);
  EXPECT_EQ(logFont.lfCharSet, SHIFTJIS_CHARSET);
  const std::string face = logFont.lfFaceName;
  EXPECT_TRUE(face == "MS UI Gothic" || face == "Meiryo UI" || face == "MeiryoKe_UIGothic") << face;
}

TEST(DialogLifetime, TheDialogLeavesWithFilterExitAndLaterUpdatesStillWork) {
  DialogHarness dialog;
  const HWND base = dialog.Control(kIdBase);
  ASSERT_TRUE(IsWindow(base));
  SendMessageA(dialog.FilterWindow(), WM_FILTER_EXIT, 0, 0);
  EXPECT_FALSE(IsWindow(base));
  dialog.LoadProject(ProjectSettings(640, 480, "Lanczos", "Lanczos", 3, 3));
  EXPECT_EQ(dialog.Settings().Width, 640);
}

}  // namespace
