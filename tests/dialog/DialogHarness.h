// The real Quorlin.auf in the harness with its dialog in a real filter window, the recording
// test libraries beside it, and a helper that answers the dialog's modal windows. Controls are
// driven with the messages a user's clicks produce.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "harness/HostSession.h"
#include "ModalAnswerer.h"
#include "PluginInstall.h"
#include "dialog/ControlIds.h"

// The recording window functions: Spline36 (no label), Lanczos "taps" 1..10 default 3,
// Signed "bias" -100..100 default -7, Wide "value" -32768..32767 default 100.
enum RecordedFunction { kSpline36, kLanczos, kSigned, kWide };

struct DialogSetup {
  // The dialog is built while the settings record still holds its default size 512x384, which
  // it adds to the list when missing; the default list therefore holds it.
  std::string sizeList = "320x240,512x384,800x600";
  bool yuy2 = false;
  // Further keys of the settings file, e.g. {"Func_Lanczos", "1,5,7"}.
  std::vector<std::pair<std::string, std::string>> keys;
  // The libraries installed beside the module.
  InstallLayout layout;
  // The project loaded after start-up.
  ResizeSettings project = ProjectSettings(320, 240, "Lanczos", "Lanczos", 3, 3);
};

class DialogHarness {
 public:
  explicit DialogHarness(const DialogSetup &setup = DialogSetup());
  ~DialogHarness();

  // A control of the dialog by its identifier, looked up inside the panels.
  HWND Control(int id) const;
  HWND FilterWindow() const { return session_->WindowHandle(); }

  // A click on a push button (BN_CLICKED to its parent).
  void Click(int id);
  // Picks an entry of a combo box, as the user does from its list.
  void Choose(int id, const std::string &entry);
  // An arrow key in a parameter edit box, which the attached up-down answers with one step.
  void ArrowKey(int editId, UINT key);
  // The up-down control's own change notification, with any position.
  void NotifyUpDown(int upDownId, int position, int delta);

  std::vector<std::string> Entries(int comboId) const;
  std::string SelectedEntry(int comboId) const;
  // The control's own visibility (the filter window itself stays hidden in these tests).
  bool Visible(int id) const { return (GetWindowLongA(Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

  ResizeSettings Settings() const { return SettingsOf(session_->ExData()); }
  void LoadProject(const ResizeSettings &settings);
  // Redraws the host made because the plug-in asked for one (message 0x8200).
  int Redraws() const { return session_->RedrawCount(); }
  // Window-function instances the plug-in created so far (each setter it built creates them).
  int32_t Creates() const;
  // The last instance created: {function, parameter}.
  std::pair<int32_t, int32_t> LastCreate() const;

  // Ends the session: WM_FILTER_EXIT, func_exit (writes the settings file), unload.
  void Finish();
  std::string Setting(const std::string &key) const { return install_.ReadSetting("Quorlin", key); }

  ModalAnswerer &Answerer() { return *answerer_; }

 private:
  PluginInstall install_;
  std::unique_ptr<ModalAnswerer> answerer_;
  std::unique_ptr<quorlin_harness::HostSession> session_;
};

std::string NameOf(const char (&field)[32]);
