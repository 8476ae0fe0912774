// The editor tests' desktop on Windows (run under Wine on a private X
// server: wine-run.sh --xvfb): input through SendInput, as the system's own
// input queue delivers it, and the screen read through GDI.
#include <map>

#include "EditorDriver.h"
#include "EditorWindow.h"
#include "ScreenCopy.h"
#include "WindowsText.h"

#include "WindowsHeader.h"

namespace kest::editortest {

namespace {

void Send(INPUT input) {
  SendInput(1, &input, sizeof input);
}

void Button(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  Send(in);
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class Win32Desktop : public EditorDriver {
public:
  Win32Desktop() {
    // Wine's own desktop of the tests' prefix draws nowhere: the host's
    // windows go to an X server only with wine-run.sh --xvfb.
    if (UnderWine() && GetEnvironmentVariableW(L"KEST_WINE_DISPLAY", nullptr, 0) == 0) {
      fProblem = "Wine without a display (wine-run.sh --xvfb gives it one)";
      return;
    }
    try {
      host::JoinTestDisplay(); // first: before any test opens the plug-in
    } catch (const std::exception& e) {
      fProblem = e.what();
    }
  }

  const std::string& Problem() const override { return fProblem; }
  const char* DisplayName() const override { return nullptr; }

  void MoveTo(int x, int y) override {
    SetCursorPos(x, y);
    Button(MOUSEEVENTF_MOVE); // a move of nothing: the window under it hears of it
  }
  void Press() override { Button(MOUSEEVENTF_LEFTDOWN); }
  void Release() override { Button(MOUSEEVENTF_LEFTUP); }
  void Key(const std::string& name) override {
    static const std::map<std::string, WORD> keys{
        {"Down", VK_DOWN},     {"Up", VK_UP},         {"Left", VK_LEFT},   {"Right", VK_RIGHT},
        {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"space", VK_SPACE}, {"Tab", VK_TAB}};
    const auto k = keys.find(name);
    if (k == keys.end()) {
      ADD_FAILURE() << "no key named " << name;
      return;
    }
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k->second;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(k->second, MAPVK_VK_TO_VSC));
    const bool extended = k->second >= VK_LEFT && k->second <= VK_DOWN;
    in.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    Send(in);
    in.ki.dwFlags |= KEYEVENTF_KEYUP;
    Send(in);
  }

  std::vector<ScreenWindow> Children(std::uintptr_t parent) override {
    std::vector<ScreenWindow> out;
    for (HWND w = GetWindow(reinterpret_cast<HWND>(parent), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT))
      out.push_back(Describe(w));
    return out;
  }
  std::vector<ScreenWindow> TopLevels() override {
    std::vector<ScreenWindow> out;
    EnumWindows(
        [](HWND w, LPARAM list) -> BOOL {
          if (IsWindowVisible(w))
            reinterpret_cast<std::vector<ScreenWindow>*>(list)->push_back(Describe(w));
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
  }
  ScreenWindow Where(std::uintptr_t window) override {
    const auto hwnd = reinterpret_cast<HWND>(window);
    ScreenWindow w = Describe(hwnd);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    RECT client{};
    GetClientRect(hwnd, &client);
    w.x = origin.x;
    w.y = origin.y;
    w.width = client.right;
    w.height = client.bottom;
    return w;
  }
  ui::Bitmap Capture(int x, int y, int width, int height) override {
    const std::vector<std::uint32_t> px = host::ScreenPixels(x, y, width, height);
    ui::Bitmap b(width, height);
    for (int yy = 0; yy < height; ++yy)
      for (int xx = 0; xx < width; ++xx) {
        const std::uint32_t p = px[static_cast<std::size_t>(yy * width + xx)];
        b.SetPixel(xx, yy,
                   ui::MakePixel(static_cast<int>(p >> 16) & 255, static_cast<int>(p >> 8) & 255,
                                 static_cast<int>(p) & 255));
      }
    return b;
  }
  int ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
  int ScreenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }

  int Run(const std::vector<std::string>& command) override {
    std::wstring line;
    for (std::size_t i = 0; i < command.size(); ++i) {
      if (i > 0) line += L' ';
      line += L'"' + (i == 0 ? host::WindowsPath(command[i]) : host::Widen(command[i])) + L'"';
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
  }

private:
  static ScreenWindow Describe(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    const auto ex = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE));
    return {reinterpret_cast<std::uintptr_t>(w), static_cast<int>(r.left), static_cast<int>(r.top),
            static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top),
            IsWindowVisible(w) != FALSE, (ex & WS_EX_NOACTIVATE) != 0};
  }

  std::string fProblem;
};

} // namespace

EditorDriver& Desktop() {
  static Win32Desktop desktop;
  return desktop;
}

} // namespace kest::editortest
