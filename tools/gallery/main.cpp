// kestrelphon-gallery: a top-level window on the X11 backend showing what the
// toolkit offers and, when they are built, the skinned controls.
//   kestrelphon-gallery [--screenshot file.png] [--display :N]
#include <cstdio>
#include <cstring>
#include <string>

#include "Widgets.h"
#include "ui/gfx/Png.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Form.h"
#include "ui/x11/X11Backend.h"

namespace kest::gallery {
#ifndef KEST_GALLERY_SKINNED
Form* BuildSkinnedPanel(Form*) {
  return nullptr;
}
#endif
} // namespace kest::gallery

int main(int argc, char** argv) {
  using namespace kest::ui;
  std::string shot;
  const char* display = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc)
      shot = argv[++i];
    else if (!std::strcmp(argv[i], "--display") && i + 1 < argc)
      display = argv[++i];
    else {
      std::fprintf(stderr, "usage: %s [--screenshot file.png] [--display :N]\n", argv[0]);
      return 2;
    }
  }
  if (!x11::Install(display)) {
    std::fprintf(stderr, "kestrelphon-gallery: cannot open the X display %s\n",
                 display ? display : "($DISPLAY)");
    return 1;
  }
  auto* main = new Form(nullptr);
  main->SetCaption(u"Kestrelphon gallery");
  main->SetColor(Rgb(28, 36, 48));
  Form* skinned = kest::gallery::BuildSkinnedPanel(main);
  Form* toolkit = kest::gallery::BuildToolkitPanel(main);
  const int width = toolkit->Width() + (skinned ? skinned->Width() : 0);
  const int height = std::max(toolkit->Height(), skinned ? skinned->Height() : 0);
  const Rect work = GetMonitors().front().workArea;
  main->SetBounds(work.left + (work.Width() - width) / 2, work.top + (work.Height() - height) / 2,
                  width, height);
  App().SetHandle(main->Handle());
  main->Show();
  if (!shot.empty()) {
    // Paint everything once, then save what the window shows.
    for (int i = 0; i < 50; ++i) {
      x11::Idle();
      WaitMsg(10);
    }
    x11::Idle();
    SavePng(*GetWindowSurface(main->Handle()), shot);
    delete main;
    InstallBackend(nullptr);
    return 0;
  }
  while (App().HandleMessage()) {
  }
  delete main;
  InstallBackend(nullptr);
  return 0;
}
