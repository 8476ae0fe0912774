// The skinned controls, one of each, live: knobs turn, switches toggle,
// the meter follows a test signal.
#include <cmath>

#include "Widgets.h"
#include "uKestCtrls.h"
#include "uKestSkins.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/Timer.h"

namespace kest::gallery {

using namespace kest::ui;

namespace {
template <class T> T* Place(Form* parent, int x, int y) {
  auto* c = new T(parent);
  c->SetParent(parent);
  c->SetBounds(x, y, c->Width(), c->Height());
  return c;
}
} // namespace

Form* BuildSkinnedPanel(Form* main) {
  LoadSharedSkins();
  auto* panel = new Form(main);
  panel->SetParent(main);
  panel->SetBounds(300, 0, SkinEditor->Width(), SkinEditor->Height());
  panel->SetDoubleBuffered(true);
  panel->OnPaint = [panel](Component*) { panel->GetCanvas().Draw(0, 0, *SkinEditor); };

  auto* note = Place<TKestNoteLabel>(panel, 30, 330);
  auto* knob = Place<TKestKnob>(panel, 30, 40);
  knob->OnChange = [note](TKestControl* k) { note->SetNote(static_cast<int>(k->Value()) % 12); };
  Place<TKestKnob>(panel, 60, 40)->SetValue(64);
  Place<TKestSwitch>(panel, 100, 40);
  Place<TKestSlider>(panel, 140, 40);
  Place<TKestButton>(panel, 200, 40);
  Place<TKestTopButton>(panel, 240, 40);
  Place<TKestLedBtn>(panel, 280, 40);
  Place<TKestOctSpin>(panel, 320, 40);
  Place<TKestCloseButton>(panel, 460, 8);
  auto* preset = Place<TKestPresetBox>(panel, 292, 5);
  preset->SetCaption(u"01 Kestrel dawn");
  Place<TKestKeybrd>(panel, 30, 200);
  auto* led = Place<TKestStepLed>(panel, 30, 170);
  auto* vu = Place<TKestVUMeter>(panel, 440, 60);

  panel->Show();
  auto* timer = new Timer(panel);
  timer->SetInterval(40);
  timer->SetOnTimer([vu, led, t = 0](Component*) mutable {
    ++t;
    // A test signal: two slow sines with different rates, in decibels.
    const float l = static_cast<float>(-30 + 28 * std::sin(t * 0.05));
    const float r = static_cast<float>(-30 + 28 * std::sin(t * 0.031 + 1));
    vu->Display(l, r);
    if (t % 6 == 0) led->SetStep((t / 6) % 16);
  });
  return panel;
}

} // namespace kest::gallery
