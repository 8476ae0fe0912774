// The editor form's creation: the form's properties and every control at
// its place on the face, named, tagged with its parameter, ranged and wired.
#include "ParamTable.h"
#include "TFrmEditor.h"
#include "uKestSkins.h"
#include "ui/gfx/Utf.h"

namespace kest {

namespace {

// Rows of step controls: the channel's switches and knobs, and their tops.
struct StepRow {
  int switchTop;
  int knobTop;
};
constexpr std::array<StepRow, kNumChannels> kStepRows{{{70, 93}, {132, 155}, {194, 217}}};
constexpr int kStepLeft = 75;
constexpr int kStepPitch = 24;

struct SliderPlace {
  int top;
  int tag;
  const char* name;
};
constexpr std::array<SliderPlace, 4> kSliders{{{258, kLevel, "SlLev"},
                                               {285, kDepth, "SlDpt"},
                                               {312, kGlide, "SlGld"},
                                               {339, kDetune, "SlDtn"}}};
constexpr int kSliderLeft = 338;

struct LedPlace {
  int top;
  const char* name;
};
constexpr std::array<LedPlace, kNumChannels> kChannelLeds{
    {{99, "CkChA"}, {161, "CkChB"}, {223, "CkChC"}}};
constexpr int kLedLeft = 43;

std::u16string ParamHint(int tag) {
  return ui::Utf8ToUtf16(ParamTable()[static_cast<std::size_t>(tag)].Name);
}

} // namespace

TFrmEditor::TFrmEditor(ui::Component* AOwner) : ui::Form(AOwner) {
  SetCaption(u"Kestrelphon");
  SetKeyPreview(true);
  SetDoubleBuffered(true);
  SetBounds(0, 0, kWidth, kHeight);
  CreateControls();
  CreateMenus();
  VUTimer = new ui::Timer(this);
  VUTimer->SetName("VUTimer");
  VUTimer->SetInterval(kMeterIntervalMs);
  VUTimer->SetOnTimer([this](ui::Component*) { MeterTick(); });
}

TFrmEditor::~TFrmEditor() = default;

template <class T> T* TFrmEditor::Place(int left, int top, int tag, const std::string& name) {
  auto* c = new T(this);
  c->SetParent(this);
  c->SetBounds(left, top, c->Width(), c->Height());
  c->SetTag(tag);
  c->SetName(name);
  c->SetShowHint(true);
  return c;
}

void TFrmEditor::WireValueControl(TKestControl* c) {
  c->SetHint(ParamHint(static_cast<int>(c->Tag())));
  c->OnChange = [this](TKestControl* s) { ParameterChange(s); };
  c->OnSelect = [this](TKestControl* s, int index) { Selection(s, index); };
}

void TFrmEditor::CreateControls() {
  Leds = Place<TKestStepLed>(kStepLeft, 46, -1, "Leds");
  Leds->SetHint(u"Running step");
  Leds->OnSelect = [this](TKestControl* s, int index) { Selection(s, index); };

  // Each channel's row of switches, then its row of knobs; their names
  // count the steps of the three channels together (A1 = 1, B1 = 2, ...).
  const std::array<std::array<TKestSwitch*, 16>*, kNumChannels> switches{&Pat1, &Pat2, &Pat3};
  const std::array<std::array<TKestKnob*, 16>*, kNumChannels> knobs{&Frq1, &Frq2, &Frq3};
  for (int c = 0; c < kNumChannels; ++c) {
    const StepRow& row = kStepRows[static_cast<std::size_t>(c)];
    const auto left = [](int i) { return kStepLeft + kStepPitch * i; };
    const auto number = [c](int i) { return std::to_string(1 + 3 * i + c); };
    for (int i = 0; i < kNumSteps; ++i) {
      auto*& s = (*switches[static_cast<std::size_t>(c)])[static_cast<std::size_t>(i)];
      s = Place<TKestSwitch>(left(i), row.switchTop, StepSwitchIndex(c, i), "Switch" + number(i));
      WireValueControl(s);
    }
    for (int i = 0; i < kNumSteps; ++i) {
      auto*& k = (*knobs[static_cast<std::size_t>(c)])[static_cast<std::size_t>(i)];
      k = Place<TKestKnob>(left(i), row.knobTop, StepNoteIndex(c, i), "Knob" + number(i));
      WireValueControl(k);
    }
  }

  std::array<TKestSlider**, 4> sliders{&SlLev, &SlDpt, &SlGld, &SlDtn};
  for (std::size_t i = 0; i < kSliders.size(); ++i) {
    *sliders[i] =
        Place<TKestSlider>(kSliderLeft, kSliders[i].top, kSliders[i].tag, kSliders[i].name);
    WireValueControl(*sliders[i]);
  }
  SlLev->SetMinValue(-60);
  SlLev->SetMaxValue(6);
  SlDtn->SetMaxValue(50);

  std::array<TKestLedBtn**, kNumChannels> leds{&CkChA, &CkChB, &CkChC};
  for (int c = 0; c < kNumChannels; ++c) {
    const auto ch = static_cast<std::size_t>(c);
    *leds[ch] = Place<TKestLedBtn>(kLedLeft, kChannelLeds[ch].top, kChA + c, kChannelLeds[ch].name);
    WireValueControl(*leds[ch]);
  }

  LbNote = Place<TKestNoteLabel>(161, 267, 0, "LbNote");
  LbNote->SetHint(ParamHint(kRandomRootNote));
  KbNote = Place<TKestKeybrd>(113, 287, kRandomRootNote, "KbNote");
  SeOct = Place<TKestOctSpin>(77, 314, kRandomRootNote, "SeOct");
  SeRng = Place<TKestOctSpin>(77, 337, kRandomRange, "SeRng");
  SeRng->SetMinValue(1);
  for (TKestControl* c : std::initializer_list<TKestControl*>{KbNote, SeOct}) {
    c->SetHint(ParamHint(kRandomRootNote));
    c->OnChange = [this](TKestControl* s) { RootNoteChange(s); };
    c->OnSelect = [this](TKestControl* s, int index) { Selection(s, index); };
  }
  WireValueControl(SeRng);

  BtRnd = Place<TKestButton>(77, 262, kRandom, "BtRnd");
  BtRnd->SetGlyphResName("KEST_RANDOM");
  WireValueControl(BtRnd);
  BtRnd->OnClick = [this](ui::Component*) { RandomRelease(); };
  BtMnu = Place<TKestButton>(77, 288, 0, "BtMnu");
  BtMnu->SetGlyphResName("KEST_POPUP_STYLES");
  BtMnu->SetHint(u"Random style and auto random");

  Prsbox = Place<TKestPresetBox>(292, 4, 0, "Prsbox");
  Prsbox->SetHint(u"Preset: click the name to rename it");
  Prsbox->SetOnAcceptText(
      [this](ui::Component* s, std::u16string& text, bool& accept) { Rename(s, text, accept); });
  BtBank = Place<TKestTopButton>(419, 4, 0, "BtBank");
  BtBank->SetGlyphResName("KEST_BANK");
  BtBank->SetHint(u"Bank");
  BtHelp = Place<TKestTopButton>(443, 4, 0, "BtHelp");
  BtHelp->SetGlyphResName("KEST_HELP");
  BtHelp->SetHint(u"Help");
  VU1 = Place<TKestVUMeter>(261, 287, 0, "VU1");
  VU1->SetHint(u"Input level");
  VU2 = Place<TKestVUMeter>(278, 287, 0, "VU2");
  VU2->SetHint(u"Output level");

  const auto background = [this](ui::Component*) { BackgroundClick(); };
  LbNote->OnClick = background;
  VU1->OnClick = background;
  VU2->OnClick = background;
  BtBank->OnClick = background;
  BtHelp->OnClick = background;
}

void TFrmEditor::SetDropDownMenus(TKestPopupMenuIntf* Styles, TKestPopupMenuIntf* Presets,
                                  TKestPopupMenuIntf* Bank, TKestPopupMenuIntf* Help) {
  BtMnu->SetDropDownMenu(Styles);
  Prsbox->SetDropDownMenu(Presets);
  BtBank->SetDropDownMenu(Bank);
  BtHelp->SetDropDownMenu(Help);
}

void TFrmEditor::EraseBackground(ui::Canvas& canvas) {
  if (!SkinEditor) ui::Form::EraseBackground(canvas);
}

void TFrmEditor::Paint() {
  if (SkinEditor) GetCanvas().BitBlt(0, 0, Width(), Height(), *SkinEditor, 0, 0);
}

} // namespace kest
