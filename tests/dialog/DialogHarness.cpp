#include "DialogHarness.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

// The host's largest image in these tests.
constexpr int kMaxWidth = 1920, kMaxHeight = 1088;

HWND FindControl(HWND parent, int id) {
  if (const HWND direct = GetDlgItem(parent, id)) return direct;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindow(child, GW_CHILD) == nullptr) continue;
    if (const HWND found = FindControl(child, id)) return found;
  }
  return nullptr;
}

std::string ComboText(HWND combo, int index) {
  char text[256] = {};
  if (SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) == CB_ERR) return "";
  return text;
}

}  // namespace

DialogHarness::DialogHarness(const DialogSetup &setup) : install_(setup.layout) {
  install_.WriteSetting("Quorlin", setup.yuy2 ? "YUY2SizeList" : "SizeList", setup.sizeList);
  for (const auto &key : setup.keys) install_.WriteSetting("Quorlin", key.first, key.second);
  answerer_ = std::make_unique<ModalAnswerer>();
  quorlin_harness::HostSessionOptions options = install_.Options(setup.yuy2);
  options.maxWidth = kMaxWidth;
  options.maxHeight = kMaxHeight;
  session_ = std::make_unique<quorlin_harness::HostSession>(options);
  if (!session_->WindowIsTopLevel())
    throw std::runtime_error("no display: the dialog tests run under xvfb-run");
  LoadProject(setup.project);
  if (!ProcessGreyFrame(*session_, 64, 48)) throw std::runtime_error("the first frame failed");
}

DialogHarness::~DialogHarness() { Finish(); }

void DialogHarness::Finish() {
  session_.reset();
  answerer_.reset();
}

void DialogHarness::LoadProject(const ResizeSettings &settings) {
  session_->LoadProject(ProjectBytes(settings));
}

HWND DialogHarness::Control(int id) const { return FindControl(session_->WindowHandle(), id); }

void DialogHarness::Click(int id) {
  const HWND button = Control(id);
  SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void DialogHarness::Choose(int id, const std::string &entry) {
  const HWND combo = Control(id);
  const LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(entry.c_str()));
  if (index == CB_ERR) throw std::runtime_error("no entry " + entry);
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

void DialogHarness::ArrowKey(int editId, UINT key) {
  const HWND edit = Control(editId);
  SendMessageA(edit, WM_KEYDOWN, key, 1);
  SendMessageA(edit, WM_KEYUP, key, 0xC0000001);
}

void DialogHarness::NotifyUpDown(int upDownId, int position, int delta) {
  const HWND upDown = Control(upDownId);
  NMUPDOWN change{};
  change.hdr.hwndFrom = upDown;
  change.hdr.idFrom = static_cast<UINT_PTR>(upDownId);
  change.hdr.code = UDN_DELTAPOS;
  change.iPos = position;
  change.iDelta = delta;
  SendMessageA(GetParent(upDown), WM_NOTIFY, upDownId, reinterpret_cast<LPARAM>(&change));
}

std::vector<std::string> DialogHarness::Entries(int comboId) const {
  const HWND combo = Control(comboId);
  std::vector<std::string> entries;
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) entries.push_back(ComboText(combo, i));
  return entries;
}

std::string DialogHarness::SelectedEntry(int comboId) const {
  const HWND combo = Control(comboId);
  return ComboText(combo, static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)));
}

int32_t DialogHarness::Creates() const { return install_.CreateLog()->Count; }

std::pair<int32_t, int32_t> DialogHarness::LastCreate() const {
  const CreateLogRecord *log = install_.CreateLog();
  if (log->Count == 0 || log->Count > 64) return {-1, 0};
  return {log->Calls[log->Count - 1].Function, log->Calls[log->Count - 1].Param};
}

std::string NameOf(const char (&field)[32]) { return ReadNameField(field); }
