// The Win32 services against the system (under Wine in the test run).
#include <gtest/gtest.h>

#include "ui/gfx/Utf.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/WindowSystem.h"

#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

#include <cderr.h>

namespace kest::ui::win32 {
namespace {

TEST(Win32Services, SettingsComeFromTheSystemWithPlausibleValues) {
  const std::wstring key = L"AppEvents\\Schemes\\Apps\\.Default\\MenuCommand\\.Current";
  HKEY h = nullptr;
  DWORD created = 0;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &h, &created),
            ERROR_SUCCESS);
  const auto setSound = [h](const std::wstring& file) {
    ::RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                     static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t)));
  };
  setSound(L"C:\\Windows\\Media\\Windows Menu Command.wav");
  auto services = CreateServices(HwndResolver{});
  const SystemSettings s = services->Settings();
  ASSERT_TRUE(s.menuShowDelayMs.has_value());
  EXPECT_GE(*s.menuShowDelayMs, 0);
  EXPECT_LE(*s.menuShowDelayMs, 10000);
  EXPECT_TRUE(s.keyboardCues.has_value());
  EXPECT_GE(s.doubleClickMs, 100u);
  EXPECT_LE(s.doubleClickMs, 5000u);
  EXPECT_TRUE(s.soundEvents.at("MenuCommand"));
  EXPECT_TRUE(s.soundEvents.contains("MenuPopup"));
  // A scheme without a file for the event plays nothing.
  setSound(L"");
  EXPECT_FALSE(services->Settings().soundEvents.at("MenuCommand"));
  services->PlaySystemSound("MenuCommand");
  ::RegCloseKey(h);
  if (created == REG_CREATED_NEW_KEY) ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

TEST(Win32Services, ClipboardCarriesUnicodeTextBetweenOwners) {
  const std::u16string text = u"Gr\u00fc\u00dfe \u97f3\u7b26 \U0001F3B5\r\nzwei";
  auto writer = CreateServices(HwndResolver{});
  writer->SetClipboardText(text);
  auto reader = CreateServices(HwndResolver{});
  EXPECT_EQ(reader->ClipboardText(), text);
}

TEST(Win32Services, FileDialogRequestBecomesTheSystemsRecord) {
  FileDialogRequest r;
  r.save = true;
  r.fileName = u"Bank \u00e9t\u00e9";
  r.initialDir = u"C:\\Presets";
  r.title = u"Save bank";
  r.filters = {{u"Banks (*.kst)", u"*.kst"}, {u"All files", u"*.*"}};
  r.defaultExt = u".kst";
  r.flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
  HWND owner = reinterpret_cast<HWND>(0x1234);
  FileDialogCall call(r, owner);
  const OPENFILENAMEW& n = call.Native();
  EXPECT_EQ(n.hwndOwner, owner);
  EXPECT_EQ(std::wstring(n.lpstrFilter, 35),
            std::wstring(L"Banks (*.kst)\0*.kst\0All files\0*.*\0", 35));
  EXPECT_STREQ(n.lpstrFile, L"Bank \u00e9t\u00e9");
  EXPECT_EQ(n.nMaxFile, FileDialogCall::kFileCapacity);
  EXPECT_STREQ(n.lpstrInitialDir, L"C:\\Presets");
  EXPECT_STREQ(n.lpstrTitle, L"Save bank");
  EXPECT_STREQ(n.lpstrDefExt, L"kst");
  EXPECT_EQ(n.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR));
  EXPECT_EQ(call.Chosen(), r.fileName);
  call.DropFileName();
  EXPECT_EQ(call.Chosen(), u"");
}

// Answers the dialog titled title with a button, from the dialog's own
// loop, and notes what it saw.
struct DialogWatch {
  const wchar_t* title = nullptr;
  WPARAM button = 0;
  bool awaitToolkit = false; // answer only once our window has had its message
  HWND dialog = nullptr;
  HWND owner = nullptr;
  bool hostEnabled = true;
  int ticks = 0;
} gWatch;
HWND gHost = nullptr;
bool gToolkitAlive = false;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = ::FindWindowW(nullptr, gWatch.title);
  if (dialog && (gToolkitAlive || !gWatch.awaitToolkit)) {
    ::KillTimer(nullptr, id);
    gWatch.dialog = dialog;
    gWatch.owner = ::GetWindow(dialog, GW_OWNER);
    gWatch.hostEnabled = ::IsWindowEnabled(gHost);
    ::PostMessageW(dialog, WM_COMMAND, gWatch.button, 0);
  } else if (++gWatch.ticks > 300) {
    ::KillTimer(nullptr, id); // never shown: the test fails below
  }
}

void AnswerWhenShown(const wchar_t* title, WPARAM button, bool awaitToolkit = false) {
  gWatch = {title, button, awaitToolkit};
  ASSERT_TRUE(::SetTimer(nullptr, 0, 30, AnswerDialog));
}

constexpr wchar_t kCaption[] = L"Kestrelphon \u2013 test";

TEST(Win32Services, MessageBoxIsModalToTheHostsWindowAndKeepsOursAlive) {
  // The host's top-level window with our editor's native window inside.
  gHost = ::CreateWindowExW(0, L"STATIC", L"Host", WS_OVERLAPPEDWINDOW, 0, 0, 500, 400, nullptr,
                            nullptr, nullptr, nullptr);
  HWND editor = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 494, 383, gHost,
                                  nullptr, nullptr, nullptr);
  ASSERT_TRUE(gHost && editor);
  WindowDesc desc;
  desc.bounds = {0, 0, 494, 383};
  desc.proc = [](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
    if (m == WM_USER + 7) gToolkitAlive = true;
    return DefaultWindowProc(h, m, w, l);
  };
  const WindowHandle ours = CreateWnd(desc);
  auto services = CreateServices([&](WindowHandle h) { return h == ours ? editor : nullptr; });

  auto box = services->BeginMessageBox({ours, u"Replace the bank?",
                                        std::u16string(kCaption, kCaption + wcslen(kCaption)),
                                        MB_YESNO | MB_ICONQUESTION});
  EXPECT_FALSE(box->Done());
  // Posted while the box is about to open: handled while it is open.
  PostMsg(ours, WM_USER + 7);
  AnswerWhenShown(kCaption, IDNO, true);
  box->Idle();
  EXPECT_TRUE(box->Done());
  EXPECT_EQ(box->Result(), IDNO);
  EXPECT_NE(gWatch.dialog, nullptr);
  EXPECT_EQ(gWatch.owner, gHost);
  EXPECT_FALSE(gWatch.hostEnabled);
  EXPECT_TRUE(::IsWindowEnabled(gHost));
  EXPECT_TRUE(gToolkitAlive);
  // An error met outside our windows goes to the window the user works in.
  ::ShowWindow(gHost, SW_SHOW);
  ::SetActiveWindow(gHost);
  EXPECT_EQ(OwnerTopLevel({}, 0), gHost);
  DestroyWnd(ours);
  ::DestroyWindow(gHost);
}

TEST(Win32Services, FileDialogNamesTheChosenFileOrNothing) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
  wchar_t cwd[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, cwd);
  auto services = CreateServices(HwndResolver{});
  FileDialogRequest r;
  r.save = true;
  r.fileName = u"B\u00e4nk \u97f3";
  r.initialDir = Narrow(temp);
  r.title = u"Save bank test";
  r.filters = {{u"Banks (*.kst)", u"*.kst"}};
  r.defaultExt = u"kst";
  r.flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  AnswerWhenShown(L"Save bank test", IDCANCEL);
  EXPECT_EQ(services->RunFileDialog(r), std::nullopt);
  EXPECT_NE(gWatch.dialog, nullptr);

  AnswerWhenShown(L"Save bank test", IDOK);
  const auto chosen = services->RunFileDialog(r);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(chosen->ends_with(u"\\B\u00e4nk \u97f3.kst")) << Utf16ToUtf8(*chosen);
  wchar_t after[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_STREQ(after, cwd);
}

TEST(Win32Services, OpenLinkReportsWhatTheShellCouldNotOpen) {
  auto services = CreateServices(HwndResolver{});
  EXPECT_FALSE(services->OpenLink("C:\\no such folder\\manual.html", 0));
  EXPECT_FALSE(services->OpenLink("", 0));
}

} // namespace
} // namespace kest::ui::win32
