#include "ViewFixture.h"

#include <filesystem>

#include "ui/gfx/Font.h"
#include "ui/gfx/Utf.h"
#include "ui/toolkit/Application.h"

namespace kest::menu::test {

using namespace kest::ui;

namespace {
constexpr const char* kRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
} // namespace

void TestPopupView::CreateChildPopup(TKestItemViewer* AViewer, bool SelectFirstItem) {
  const Rect b = AViewer->BoundsRect();
  const Point at = Window()->ClientToScreen({b.right, b.top - kKestPopupFrame});
  auto* child = new TestPopup(this, AViewer->Item(), at);
  if (SelectFirstItem) child->view->Select(child->view->FirstSelectable(), false);
  SetOpenChild(AViewer, child->view, child);
  child->Show();
}

TestPopup::TestPopup(TKestView* parentView, TKestCustomItem* item, Point at) : WinControl(nullptr) {
  SetFont(KestMenuFont());
  SetBounds(at.x, at.y, 320, 240);
  SetVisible(false);
  Handle();
  view = new TestPopupView(this, parentView, item, this);
  view->State().Include(vsModal);
  view->UpdatePositions();
}

void TestPopup::CreateParamsFor(CreateParams& params) {
  WinControl::CreateParamsFor(params);
  params.desc.topmost = true;
  params.desc.noActivate = true;
  params.desc.frame = {kKestPopupFrame, kKestPopupFrame, kKestPopupFrame, kKestPopupFrame};
}

LResult TestPopup::WndProc(std::uint32_t msg, WParam w, LParam l) {
  if (msg == WM_NCPAINT) {
    if (auto* c = reinterpret_cast<Canvas*>(w)) PaintKestMenuFrame(*c, {0, 0, Width(), Height()});
    return 0;
  }
  if (msg == WM_TIMER && w >= kKestViewTimerBase && w < kKestViewTimerBase + 4) {
    view->TimerTick(static_cast<int>(w - kKestViewTimerBase));
    return 0;
  }
  return WinControl::WndProc(msg, w, l);
}

void TestPopup::EraseBackground(Canvas& canvas) {
  canvas.FillRect(canvas.ClipRect(), colors::Background);
}

void TestPopup::PaintWindow(Canvas& canvas) {
  view->DrawSubitems(canvas);
  PaintKestScrollArrows(canvas, GetClientRect(Handle()), view->ShowUpArrow(),
                        view->ShowDownArrow());
}

void ViewTest::SetUp() {
  App().Reset();
  if (!PinTestFonts()) GTEST_SKIP() << "DejaVu fonts are missing (install fonts-dejavu-core)";
  root = new TKestRootItem(nullptr);
}

void ViewTest::TearDown() {
  delete popup;
  delete root;
  App().Reset();
}

template <class T> T* ViewTest::Add(TKestCustomItem* parent, const std::u16string& caption) {
  auto* it = new T(root);
  if (!caption.empty()) it->SetCaption(caption);
  (parent ? parent : root)->Add(it);
  return it;
}

TKestItem* ViewTest::AddItem(const std::u16string& caption, TKestCustomItem* parent) {
  return Add<TKestItem>(parent, caption);
}
TKestSubmenuItem* ViewTest::AddSubmenu(const std::u16string& caption, TKestCustomItem* parent) {
  return Add<TKestSubmenuItem>(parent, caption);
}
TKestSeparatorItem* ViewTest::AddSeparator(TKestCustomItem* parent) {
  return Add<TKestSeparatorItem>(parent, u"");
}
TKestLabelItem* ViewTest::AddLabel(const std::u16string& caption, TKestCustomItem* parent) {
  return Add<TKestLabelItem>(parent, caption);
}

TKestView* ViewTest::Open(Point at) {
  popup = new TestPopup(nullptr, root, at);
  popup->Show();
  screen.Pump();
  return popup->view;
}

Point Centre(TKestView* view, const TKestCustomItem* item) {
  const Rect b = view->Find(item)->BoundsRect();
  return view->Window()->ClientToScreen({(b.left + b.right) / 2, (b.top + b.bottom) / 2});
}

TKestView* ViewTest::Deepest() {
  return popup->view->DeepestView();
}

void ViewTest::PointTo(Point p) {
  screen.MoveTo(p);
  screen.Pump();
  for (TKestView* v = Deepest(); v; v = v->ParentView())
    v->UpdateSelection(p, true);
  screen.Pump();
}

void ViewTest::Key(std::uint16_t key, ShiftState shift) {
  TKestView* v = Deepest();
  v->KeyDown(key, shift);
  screen.Pump();
}

std::string SelectedCaption(TKestView* view) {
  return view && view->Selected() ? Utf16ToUtf8(view->Selected()->Item()->Caption()) : "-";
}

bool PinTestFonts() {
  if (!std::filesystem::exists(kRegular) || !std::filesystem::exists(kBold)) return false;
  PinFontFace("Tahoma", kRegular, kBold);
  return true;
}

std::string OutputPath(const std::string& name) {
  return std::string(KEST_TEST_OUTPUT_DIR) + "/" + name;
}

} // namespace kest::menu::test
