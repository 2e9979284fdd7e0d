#include "dialog/ConfigDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "dialog/ComboBox.h"
#include "dialog/ConfigDlgForm.h"
#include "dialog/FontChoice.h"
#include "dialog/NumberEdit.h"
#include "dialog/SizeEntry.h"
#include "dialog/TextInputWindow.h"
#include "host/CommaText.h"
#include "host/HostHooks.h"
#include "host/PluginState.h"
#include "host/SettingsApply.h"
#include "host/StoredName.h"

TConfigDialog *ConfigDialog = nullptr;

namespace {

constexpr char kNearestNeighbor[] = "NearestNeighbor";
constexpr char kAreaAverage[] = "AreaAverage";
constexpr char kFallbackSize[] = "512x384";
constexpr char kWarningCaption[] = "警告";
constexpr char kTooLargeWarning[] = "AviUtlの最大画像サイズより大きなサイズは指定出来ません";
constexpr char kOddWidthWarning[] = "YUY2フィルタモードでは幅が偶数である必要があります";
constexpr char kSizeFormatWarning[] = "サイズは640x480のように幅x高さの形で指定する必要があります";
constexpr char kAddSizeCaption[] = "解像度リストに追加";
constexpr char kAddSizePrompt[] = "入力例) 640x480";
constexpr int kAddSizeMaxLength = 255;
constexpr int32_t kInitialParamMin = 0, kInitialParamMax = 100;

int32_t WindowFuncCount() { return WndFuncPlugins ? WndFuncPlugins->Count() : 0; }

// The list index of the record a name field names, or -1; the method and kernel lists show
// the records at their list indices.
template <typename List>
int32_t StoredIndex(const std::unique_ptr<List> &list, const char (&field)[kNameFieldSize]) {
  return list ? IndexOfStoredName(*list, field) : -1;
}

// Changes a list as one batch: no repainting in between.
class BatchUpdate {
 public:
  explicit BatchUpdate(HWND control) : control_(control) {
    SendMessageA(control_, WM_SETREDRAW, FALSE, 0);
  }
  ~BatchUpdate() {
    SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control_, nullptr, TRUE);
  }

 private:
  HWND control_;
};

// Labels grow to show their whole text in the font chosen at run time (the stored widths fit
// the stored font); they never shrink below the stored width.
void FitLabelToText(HWND label, HFONT font, int storedWidth) {
  char text[64] = {};
  const int length = GetWindowTextA(label, text, sizeof text);
  const HDC dc = GetDC(label);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, length, &extent);
  SelectObject(dc, oldFont);
  ReleaseDC(label, dc);
  if (extent.cx <= storedWidth) return;
  RECT rect;
  GetClientRect(label, &rect);
  SetWindowPos(label, nullptr, 0, 0, extent.cx, rect.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// One side of the method choice. The two sides mirror each other.
struct TConfigDialog::MethodSide {
  HWND TConfigDialog::*Combo;
  HWND TConfigDialog::*Panel;
  HWND TConfigDialog::*UpDown;
  char (ResizeSettings::*Mode)[kNameFieldSize];
  int32_t ResizeSettings::*Param;
  int16_t FuncParamPair::*Remembered;
  void (TConfigDialog::*Change)(HWND sender);
  void (TConfigDialog::*UpdatePanel)();
};

namespace {

const TConfigDialog::MethodSide kLuma{
    &TConfigDialog::cbLumaMode,       &TConfigDialog::pnlLumaParam, &TConfigDialog::udLumaParam,
    &ResizeSettings::LumaMode,        &ResizeSettings::LumaParam,   &FuncParamPair::Luma,
    &TConfigDialog::cbLumaModeChange, &TConfigDialog::UpdateLumaParamPanel};
const TConfigDialog::MethodSide kChroma{
    &TConfigDialog::cbChromaMode,       &TConfigDialog::pnlChromaParam, &TConfigDialog::udChromaParam,
    &ResizeSettings::ChromaMode,        &ResizeSettings::ChromaParam,   &FuncParamPair::Chroma,
    &TConfigDialog::cbChromaModeChange, &TConfigDialog::UpdateChromaParamPanel};

}  // namespace

// ---- construction and release ----------------------------------------------------------

namespace {

// The up-down control's class comes from comctl32, loaded when the first panel is made rather
// than with the plug-in: loading comctl32 starts the window system's desktop, which a process
// without a display (the command-line resizer) cannot start and says so on its error stream.
// The library stays loaded, as an import would.
void RegisterUpDownClass() {
  using InitFunc = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
  static const HMODULE comctl32 = LoadLibraryA("comctl32.dll");
  const auto init = reinterpret_cast<InitFunc>(
      reinterpret_cast<void *>(GetProcAddress(comctl32, "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
  if (init) init(&controls);
}

}  // namespace

TConfigDialog::TConfigDialog(HWND filterWindow) {
  RegisterUpDownClass();
  RegisterPanelClass(ThisModule());
  events_ = PanelEvents{this, &TConfigDialog::OnPanelCommand, &TConfigDialog::OnPanelNotify};
  CreateControls(filterWindow);
  FormCreate();
}

TConfigDialog::~TConfigDialog() {
  if (IsWindow(pnlBase)) {
    SetPanelEvents(pnlBase, nullptr);
    if (IsWindow(pnlLumaParam)) SetPanelEvents(pnlLumaParam, nullptr);
    if (IsWindow(pnlChromaParam)) SetPanelEvents(pnlChromaParam, nullptr);
    DestroyWindow(pnlBase);
  }
  if (font_) DeleteObject(font_);
  UnregisterPanelClass(ThisModule());
}

void TConfigDialog::Release() {
  if (handlerDepth_ > 0) releasePending_ = true;
  else delete this;
}

void CreateConfigDialog(HWND filterWindow) {
  ReleaseConfigDialog();
  ConfigDialog = new TConfigDialog(filterWindow);
}

void ReleaseConfigDialog() {
  TConfigDialog *dialog = ConfigDialog;
  ConfigDialog = nullptr;
  if (dialog) dialog->Release();
}

const SettingsPanel kConfigDialogPanel = {CreateConfigDialog, ReleaseConfigDialog, [] {
                                             if (ConfigDialog) ConfigDialog->LoadFromSettings();
                                             return ConfigDialog != nullptr;
                                           }};

// Creates every window of the form table, then orders each parent's children by tab order.
void TConfigDialog::CreateControls(HWND filterWindow) {
  for (size_t i = 0; i < kFormControlCount; ++i) {
    const FormControl &control = kFormControls[i];
    const HWND parent = control.Parent ? this->*control.Parent : filterWindow;
    // A combo box's window height is its dropped-down height.
    const int height = control.ListRows > 0
                           ? control.Height + control.ListRows * kComboItemHeight + 2
                           : control.Height;
    const HWND window = CreateWindowExA(
        control.ExStyle, control.ClassName, control.Caption, WS_CHILD | WS_VISIBLE | control.Style,
        control.Left, control.Top, control.Width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.Id)), ThisModule(), nullptr);
    this->*control.Field = window;
    if (control.ClassName == kPanelClassName) SetPanelEvents(window, &events_);
  }
  std::vector<const FormControl *> tabOrdered;
  for (size_t i = 0; i < kFormControlCount; ++i) {
    if (kFormControls[i].TabOrder >= 0) tabOrdered.push_back(&kFormControls[i]);
  }
  std::stable_sort(tabOrdered.begin(), tabOrdered.end(),
                   [](const FormControl *a, const FormControl *b) { return a->TabOrder < b->TabOrder; });
  for (const FormControl *control : tabOrdered) {
    SetWindowPos(this->*control->Field, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  AttachUpDown(udLumaParam, edtLumaParam);
  AttachUpDown(udChromaParam, edtChromaParam);
  SetUpDownRange(udLumaParam, kInitialParamMin, kInitialParamMax);
  SetUpDownRange(udChromaParam, kInitialParamMin, kInitialParamMax);
}

void TConfigDialog::FormCreate() {
  for (const std::string &entry : SplitCommaText(SizeListText)) AddSize(entry);
  if (combo::Count(cbSizeList) == 0) combo::Append(cbSizeList, kFallbackSize);
  UpdateDeleteButton();
  FillMethodLists();
  for (int32_t i = 0; FilterPlugins && i < FilterPlugins->Count(); ++i)
    combo::Append(cbSIMDMode, FilterPlugins->Item(i)->Name);
  ApplyFormFont();
  MakeNumberEdit(edtLumaParam);
  MakeNumberEdit(edtChromaParam);
  LoadFromSettings();
}

void TConfigDialog::FillMethodLists() {
  for (HWND list : {cbLumaMode, cbChromaMode}) {
    for (int32_t i = 0; i < WindowFuncCount(); ++i) combo::Append(list, WndFuncPlugins->Item(i)->Name);
    if (YUY2Mode == 0) {
      combo::Append(list, kNearestNeighbor);
      combo::Append(list, kAreaAverage);
    }
  }
}

void TConfigDialog::ApplyFormFont() {
  font_ = CreateFormFont(ChooseFormFontName());
  for (size_t i = 0; i < kFormControlCount; ++i) {
    SendMessageA(this->*kFormControls[i].Field, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  for (size_t i = 0; i < kFormControlCount; ++i) {
    const FormControl &control = kFormControls[i];
    if (control.ListRows > 0) {
      combo::SetHeights(this->*control.Field, control.Height, kComboItemHeight);
      combo::SetDroppedRows(this->*control.Field, control.ListRows);
    }
    if (std::string(control.ClassName) == "STATIC")
      FitLabelToText(this->*control.Field, font_, control.Width);
  }
}

// ---- settings ----------------------------------------------------------------------------

void TConfigDialog::LoadFromSettings() {
  if (!CurrentSettings) return;
  RunHandler([this] {
    LockChanges();
    const int32_t index = AddSize(FormatSize(CurrentSettings->Width, CurrentSettings->Height));
    if (index >= 0) {
      combo::Select(cbSizeList, index);
      UpdateDeleteButton();  // the project's size may have been added
    } else {
      combo::Select(cbSizeList, 0);
      const SizeValue size = ParseSize(combo::Text(cbSizeList, 0));
      CurrentSettings->Width = size.Width;
      CurrentSettings->Height = size.Height;
    }
    SelectStoredEntry(cbLumaMode, CurrentSettings->LumaMode,
                      StoredIndex(WndFuncPlugins, CurrentSettings->LumaMode),
                      &TConfigDialog::cbLumaModeChange);
    SelectStoredEntry(cbChromaMode, CurrentSettings->ChromaMode,
                      StoredIndex(WndFuncPlugins, CurrentSettings->ChromaMode),
                      &TConfigDialog::cbChromaModeChange);
    SelectStoredEntry(cbSIMDMode, CurrentSettings->SIMDMode,
                      StoredIndex(FilterPlugins, CurrentSettings->SIMDMode),
                      &TConfigDialog::cbSIMDModeChange);
    UnlockChanges();
  });
}

// The entry whose text equals the field (in any letter case), else the entry of the record the
// field names (`storedIndex`, the start of a name longer than the field), else the first.
void TConfigDialog::SelectStoredEntry(HWND list, const char (&field)[kNameFieldSize],
                                      int32_t storedIndex, void (TConfigDialog::*change)(HWND)) {
  if (combo::Count(list) == 0) return;
  const int found = combo::FindExact(list, ReadNameField(field));
  combo::Select(list, found >= 0 ? found : std::max(storedIndex, 0));
  (this->*change)(nullptr);
}

void TConfigDialog::SettingsChanged() {
  if (ChangeLock > 0) return;
  ApplySettings();
  SendMessageA(FilterWindow, WM_QUORLIN_SETTINGS_CHANGED, 0, 0);
}

void TConfigDialog::StoreText(const std::string &text, char (&field)[kNameFieldSize]) {
  StoreNameField(text, field);
}

// ---- size list ---------------------------------------------------------------------------

int32_t TConfigDialog::AddSize(const std::string &text) {
  const int existing = combo::FindExact(cbSizeList, text);
  if (existing >= 0) return existing;
  const SizeValue size = ParseSize(text);
  if (size.Width == 0) return -1;
  if (size.Width > MaxImageWidth || size.Height > MaxImageHeight) {
    ShowWarning(kTooLargeWarning);
    return -1;
  }
  if (size.Width % 2 != 0 && YUY2Mode != 0) {
    ShowWarning(kOddWidthWarning);
    return -1;
  }
  const auto entryAt = [this](size_t i) { return combo::Text(cbSizeList, static_cast<int>(i)); };
  const int position = static_cast<int>(
      SortedInsertPosition(static_cast<size_t>(combo::Count(cbSizeList)), entryAt, size));
  BatchUpdate batch(cbSizeList);
  combo::Insert(cbSizeList, position, text);
  return position;
}

void TConfigDialog::ShowWarning(const char *text) {
  MessageBoxA(nullptr, text, kWarningCaption, MB_ICONWARNING);
}

void TConfigDialog::UpdateDeleteButton() {
  EnableWindow(btnDeleteSize, combo::Count(cbSizeList) > 1);
}

void TConfigDialog::StoreSizeList() { SizeListText = JoinCommaText(combo::Items(cbSizeList)); }

void TConfigDialog::btnAddSizeClick(HWND) {
  std::string text;
  const TextInputRequest request{kAddSizeCaption, kAddSizePrompt, kAddSizeMaxLength};
  if (!AskForText(GetAncestor(FilterWindow, GA_ROOT), font_, request, text)) return;
  const std::string size = NormalizedSizeText(text);
  if (size.empty()) {
    ShowWarning(kSizeFormatWarning);
    return;
  }
  const int32_t index = AddSize(size);
  if (index < 0) return;
  combo::Select(cbSizeList, index);
  UpdateDeleteButton();
  StoreSizeList();
  cbSizeListChange(nullptr);
}

// The list never becomes empty: with one entry left (the button is then disabled) a click
// that still arrives changes nothing.
void TConfigDialog::btnDeleteSizeClick(HWND) {
  const int selected = combo::Selected(cbSizeList);
  if (selected < 0 || combo::Count(cbSizeList) <= 1) return;
  combo::Delete(cbSizeList, selected);
  combo::Select(cbSizeList, std::min(selected, combo::Count(cbSizeList) - 1));
  UpdateDeleteButton();
  StoreSizeList();
  InvalidateRect(cbSizeList, nullptr, TRUE);
  cbSizeListChange(nullptr);
}

void TConfigDialog::cbSizeListChange(HWND) {
  const int selected = combo::Selected(cbSizeList);
  if (selected < 0) return;
  const SizeValue size = ParseSize(combo::Text(cbSizeList, selected));
  CurrentSettings->Width = size.Width;
  CurrentSettings->Height = size.Height;
  SettingsChanged();
}

// ---- methods and parameters ------------------------------------------------------------

bool TConfigDialog::IsWindowFunction(int32_t index) const {
  return index >= 0 && index < WindowFuncCount();
}

void TConfigDialog::cbLumaModeChange(HWND) { ModeChange(kLuma, kChroma); }

void TConfigDialog::cbChromaModeChange(HWND) { ModeChange(kChroma, kLuma); }

// A window function chosen while the other side shows a built-in method moves the other side
// to it; a built-in method is always chosen on both sides. The stored parameter is replaced
// only when the method's name changes.
void TConfigDialog::ModeChange(const MethodSide &side, const MethodSide &other) {
  const HWND list = this->*side.Combo;
  const HWND otherList = this->*other.Combo;
  const int index = combo::Selected(list);
  if (index < 0) return;
  LockChanges();
  const std::string text = combo::Text(list, index);
  char(&mode)[kNameFieldSize] = CurrentSettings->*side.Mode;
  if (!HoldsName(mode, text)) {
    StoreText(text, mode);
    const int otherIndex = combo::Selected(otherList);
    if (IsWindowFunction(index)) {
      if (otherIndex >= WindowFuncCount()) {
        combo::Select(otherList, index);
        (this->*other.Change)(nullptr);
      }
      CurrentSettings->*side.Param = FuncParams[index].*side.Remembered;
    } else {
      if (otherIndex != index) {
        combo::Select(otherList, index);
        (this->*other.Change)(nullptr);
      }
      CurrentSettings->*side.Param = 0;
    }
  }
  (this->*side.UpdatePanel)();
  UnlockChanges();
  SettingsChanged();
}

void TConfigDialog::UpdateLumaParamPanel() { UpdateParamPanel(kLuma); }

void TConfigDialog::UpdateChromaParamPanel() { UpdateParamPanel(kChroma); }

void TConfigDialog::UpdateParamPanel(const MethodSide &side) {
  const HWND panel = this->*side.Panel;
  const int index = combo::Selected(this->*side.Combo);
  const WindowFuncInfo *info = IsWindowFunction(index) ? WndFuncPlugins->Item(index) : nullptr;
  if (!info || !info->ParamLabel) {
    SetVisibleDeep(panel, false);
    return;
  }
  SetUpDownRange(this->*side.UpDown, info->ParamMin, info->ParamMax);
  SetUpDownPosition(this->*side.UpDown, FuncParams[index].*side.Remembered);
  SetWindowTextA(panel, info->ParamLabel);
  SetVisibleDeep(panel, true);
}

void TConfigDialog::udLumaParamChangingEx(HWND, bool &, int16_t newValue, UpDownDirection) {
  ParamChangingEx(kLuma, newValue);
}

void TConfigDialog::udChromaParamChangingEx(HWND, bool &, int16_t newValue, UpDownDirection) {
  ParamChangingEx(kChroma, newValue);
}

// Only a window function has a parameter: a notification that arrives while a built-in method
// is selected changes nothing.
void TConfigDialog::ParamChangingEx(const MethodSide &side, int16_t newValue) {
  const int index = combo::Selected(this->*side.Combo);
  if (!IsWindowFunction(index)) return;
  const WindowFuncInfo *info = WndFuncPlugins->Item(index);
  if (newValue < info->ParamMin || newValue > info->ParamMax) return;
  FuncParams[index].*side.Remembered = newValue;
  CurrentSettings->*side.Param = newValue;
  SettingsChanged();
}

void TConfigDialog::cbSIMDModeChange(HWND) {
  const int index = combo::Selected(cbSIMDMode);
  if (index >= 0) StoreText(combo::Text(cbSIMDMode, index), CurrentSettings->SIMDMode);
  SettingsChanged();
}

// ---- message routing ---------------------------------------------------------------------

// Keeps the dialog alive while a handler runs (a modal window inside one may let the host
// release it); a release asked for meanwhile happens when the outermost handler returns.
template <typename Handler>
void TConfigDialog::RunHandler(Handler &&handler) {
  ++handlerDepth_;
  try {
    handler();
  } catch (...) {
    --handlerDepth_;
    throw;
  }
  if (--handlerDepth_ == 0 && releasePending_) delete this;
}

LRESULT TConfigDialog::OnPanelCommand(void *context, WPARAM wparam, LPARAM lparam) {
  return static_cast<TConfigDialog *>(context)->DispatchCommand(reinterpret_cast<HWND>(lparam),
                                                                 HIWORD(wparam));
}

LRESULT TConfigDialog::OnPanelNotify(void *context, const NMHDR *header) {
  return header ? static_cast<TConfigDialog *>(context)->DispatchNotify(*header) : 0;
}

LRESULT TConfigDialog::DispatchCommand(HWND sender, UINT code) {
  for (size_t i = 0; i < kFormControlCount; ++i) {
    const FormControl &control = kFormControls[i];
    if (control.Handler.OnCommand && control.Handler.CommandCode == code &&
        this->*control.Field == sender) {
      RunHandler([this, &control, sender] { (this->*control.Handler.OnCommand)(sender); });
      return 0;
    }
  }
  return 0;
}

// An up-down's position change. A position beyond the signed 16-bit range is out of every
// function's range, so it is ignored rather than wrapped to the other end. Answering non-zero
// would forbid the change; the handlers never do.
LRESULT TConfigDialog::DispatchNotify(const NMHDR &header) {
  if (header.code != static_cast<UINT>(UDN_DELTAPOS)) return 0;
  const auto &change = reinterpret_cast<const NMUPDOWN &>(header);
  const int64_t position = static_cast<int64_t>(change.iPos) + change.iDelta;
  if (position < std::numeric_limits<int16_t>::min() || position > std::numeric_limits<int16_t>::max())
    return 0;
  const UpDownDirection direction = change.iDelta > 0   ? UpDownDirection::Up
                                    : change.iDelta < 0 ? UpDownDirection::Down
                                                        : UpDownDirection::None;
  bool allowChange = true;
  for (size_t i = 0; i < kFormControlCount; ++i) {
    const FormControl &control = kFormControls[i];
    if (control.Handler.OnChangingEx && this->*control.Field == header.hwndFrom) {
      RunHandler([&] {
        (this->*control.Handler.OnChangingEx)(header.hwndFrom, allowChange,
                                              static_cast<int16_t>(position), direction);
      });
      break;
    }
  }
  return allowChange ? FALSE : TRUE;
}
