// The configuration dialog: the controls inside the host's filter window with which the user
// keeps the size list and chooses the methods, their parameters and the kernel. Every change
// goes at once into the live settings record, is applied to the engine, and the filter window
// is asked to show the frame again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "dialog/PanelWindow.h"
#include "host/SettingsPanel.h"

enum class UpDownDirection { None, Up, Down };

class TConfigDialog {
 public:
  // Builds the controls inside `filterWindow` and runs FormCreate.
  explicit TConfigDialog(HWND filterWindow);
  ~TConfigDialog();
  TConfigDialog(const TConfigDialog &) = delete;
  TConfigDialog &operator=(const TConfigDialog &) = delete;

  // Sets every control from the settings record, without applying anything.
  void LoadFromSettings();

  // Destroys the dialog once no handler of it is running any more (at once when none is).
  void Release();

  // Show and set up the parameter panel of the selected window function, or hide it.
  void UpdateLumaParamPanel();
  void UpdateChromaParamPanel();

  // The handlers, named after control and event; the sender is null when one handler runs
  // another.
  void btnAddSizeClick(HWND sender);
  void btnDeleteSizeClick(HWND sender);
  void cbSizeListChange(HWND sender);
  void cbLumaModeChange(HWND sender);
  void cbChromaModeChange(HWND sender);
  void cbSIMDModeChange(HWND sender);
  void udLumaParamChangingEx(HWND sender, bool &allowChange, int16_t newValue,
                             UpDownDirection direction);
  void udChromaParamChangingEx(HWND sender, bool &allowChange, int16_t newValue,
                               UpDownDirection direction);

  // The controls, in the form's order.
  HWND pnlBase = nullptr;
  HWND btnAddSize = nullptr;
  HWND btnDeleteSize = nullptr;
  HWND cbLumaMode = nullptr;
  HWND cbChromaMode = nullptr;
  HWND cbSizeList = nullptr;
  HWND Label1 = nullptr;
  HWND Label2 = nullptr;
  HWND Label3 = nullptr;
  HWND pnlLumaParam = nullptr;
  HWND pnlChromaParam = nullptr;
  HWND edtLumaParam = nullptr;
  HWND edtChromaParam = nullptr;
  HWND udLumaParam = nullptr;
  HWND udChromaParam = nullptr;
  HWND Label4 = nullptr;
  HWND cbSIMDMode = nullptr;

 
  // One side of the method choice: luma or chroma.
  struct MethodSide;

 private:

  void CreateControls(HWND filterWindow);
  void FormCreate();
  void FillMethodLists();
  void ApplyFormFont();

  void SettingsChanged();
  void LockChanges() { ++ChangeLock; }
  void UnlockChanges() { --ChangeLock; }
  int32_t AddSize(const std::string &text);
  void ShowWarning(const char *text);
  void StoreText(const std::string &text, char (&field)[32]);
  void StoreSizeList();
  void UpdateDeleteButton();
  void SelectStoredEntry(HWND combo, const char (&field)[32], int32_t storedIndex,
                         void (TConfigDialog::*change)(HWND));

  void ModeChange(const MethodSide &side, const MethodSide &other);
  void UpdateParamPanel(const MethodSide &side);
  void ParamChangingEx(const MethodSide &side, int16_t newValue);
  bool IsWindowFunction(int32_t index) const;

  static LRESULT OnPanelCommand(void *context, WPARAM wparam, LPARAM lparam);
  static LRESULT OnPanelNotify(void *context, const NMHDR *header);
  LRESULT DispatchCommand(HWND sender, UINT code);
  LRESULT DispatchNotify(const NMHDR &header);
  template <typename Handler>
  void RunHandler(Handler &&handler);

  int32_t ChangeLock = 0;
  HFONT font_ = nullptr;
  PanelEvents events_{};
  int handlerDepth_ = 0;
  bool releasePending_ = false;
};

// The dialog while the host's filter window exists (WM_FILTER_INIT to WM_FILTER_EXIT), or null.
extern TConfigDialog *ConfigDialog;

// Creates ConfigDialog inside the filter window, releasing an earlier one first.
void CreateConfigDialog(HWND filterWindow);
// Releases ConfigDialog and forgets it.
void ReleaseConfigDialog();

// The dialog as the hooks drive it.
extern const SettingsPanel kConfigDialogPanel;
