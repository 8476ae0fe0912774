// A screen reader's view of a running popup menu: the objects it gets from
// the menu's window, their answers, their default actions, the events it
// hears, and objects that outlive the menu.
#include "PopupFixture.h"
#include "uKestAcc.h"
#include "ui/windowing/Accessible.h"

namespace kest::menu::test {
namespace {

using namespace kest::ui;

class Acc : public PopupTest {
protected:
  // What a client gets from a level's window.
  AccRef LevelObject(int level) {
    AccRef object;
    EXPECT_EQ(AccObjectFromWindow(Level(level)->Window()->Handle(), OBJID_CLIENT, &object), S_OK);
    return object;
  }
  static AccRef Child(const AccRef& parent, int id) {
    AccRef child;
    EXPECT_EQ(parent->get_accChild(AccVariant::Int(id), &child), S_OK) << id;
    return child;
  }
  static std::u16string Name(const AccRef& o, HResult expect = S_OK) {
    std::u16string s;
    EXPECT_EQ(o->get_accName(AccVariant::Self(), &s), expect);
    return s;
  }
  static std::int32_t State(const AccRef& o) {
    AccVariant v;
    EXPECT_EQ(o->get_accState(AccVariant::Self(), &v), S_OK);
    return v.lVal;
  }
  static std::u16string DefaultAction(const AccRef& o, HResult expect = S_OK) {
    std::u16string s;
    EXPECT_EQ(o->get_accDefaultAction(AccVariant::Self(), &s), expect);
    return s;
  }
};

TEST_F(Acc, TheMenuAndItsItemsAnswerAsTheirTablesSay) {
  Item(u"&Fetch\tCtrl+F");
  Item(u"Gone")->SetEnabled(false);
  menu->AddSeparatorItem(nullptr);
  Item(u"Ticked")->SetChecked(true);
  Item(u"Hammer", Submenu(u"&Tools"));
  Then([&] { screen.Key(VK_DOWN); });
  Then([&] {
    AccRef root = LevelObject(0);
    EXPECT_EQ(LevelObject(0).get(), root.get()) << "one object per view";
    AccVariant role;
    EXPECT_EQ(root->get_accRole(AccVariant::Self(), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_MENUPOPUP);
    std::int32_t count = 0;
    EXPECT_EQ(root->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(Child(root, 0).get(), root.get());
    AccRef none;
    EXPECT_EQ(root->get_accChild(AccVariant::Int(6), &none), E_INVALIDARG);
    EXPECT_EQ(root->get_accChild(AccVariant{AccVariant::Type::Other, 1, nullptr}, &none),
              E_INVALIDARG);
    EXPECT_EQ(root->accSelect(SELFLAG_TAKEFOCUS, AccVariant::Self()), DISP_E_MEMBERNOTFOUND);

    AccRef fetch = Child(root, 1), gone = Child(root, 2), sep = Child(root, 3),
           ticked = Child(root, 4), tools = Child(root, 5);
    EXPECT_EQ(Name(fetch), u"Fetch\tCtrl+F");
    std::u16string key;
    EXPECT_EQ(fetch->get_accKeyboardShortcut(AccVariant::Self(), &key), S_OK);
    EXPECT_EQ(key, u"f") << "alone in a popup menu";
    EXPECT_EQ(ticked->get_accKeyboardShortcut(AccVariant::Self(), &key), S_FALSE);
    AccVariant sepRole;
    EXPECT_EQ(sep->get_accRole(AccVariant::Self(), &sepRole), S_OK);
    EXPECT_EQ(sepRole.lVal, ROLE_SYSTEM_SEPARATOR);

    EXPECT_EQ(State(fetch), STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(State(gone), STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(State(ticked), STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(State(tools), STATE_SYSTEM_HASPOPUP | STATE_SYSTEM_FOCUSABLE);
    AccVariant focus;
    EXPECT_EQ(fetch->get_accFocus(&focus), S_OK);
    EXPECT_EQ(gone->get_accFocus(&focus), S_FALSE);

    EXPECT_EQ(DefaultAction(fetch), u"Execute");
    EXPECT_EQ(DefaultAction(tools), u"Open");
    EXPECT_EQ(DefaultAction(gone, S_FALSE), u"");

    // Only the integer 0 names the object itself.
    std::u16string s;
    EXPECT_EQ(fetch->get_accName(AccVariant::Int(1), &s), E_INVALIDARG);
    EXPECT_EQ(fetch->accSelect(SELFLAG_TAKEFOCUS | 2, AccVariant::Self()), E_INVALIDARG);
    EXPECT_EQ(ticked->accSelect(SELFLAG_TAKEFOCUS, AccVariant::Self()), S_OK);
    EXPECT_EQ(Selected(0), "Ticked");

    AccVariant next, first;
    EXPECT_EQ(gone->accNavigate(NAVDIR_NEXT, AccVariant::Self(), &next), S_OK);
    EXPECT_EQ(next.pdispVal.get(), sep.get());
    EXPECT_EQ(fetch->accNavigate(NAVDIR_UP, AccVariant::Self(), &next), S_FALSE);
    EXPECT_EQ(root->accNavigate(NAVDIR_LASTCHILD, AccVariant::Self(), &first), S_OK);
    EXPECT_EQ(first.pdispVal.get(), tools.get());
    AccRef parent;
    EXPECT_EQ(tools->get_accParent(&parent), S_OK);
    EXPECT_EQ(parent.get(), root.get());

    std::int32_t x, y, w, h;
    EXPECT_EQ(tools->accLocation(&x, &y, &w, &h, AccVariant::Self()), S_OK);
    AccVariant hit;
    EXPECT_EQ(root->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
    EXPECT_EQ(hit.pdispVal.get(), tools.get());
    EXPECT_EQ(tools->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
    EXPECT_EQ(hit.vt, AccVariant::Type::Int32);
    EXPECT_EQ(tools->accHitTest(x + w / 2, y - 30, &hit), S_FALSE);
    screen.Key(VK_ESCAPE);
  });
  menu->Popup(200, 100);
}

TEST_F(Acc, DefaultActionsOpenCloseAndExecuteAsAClickWould) {
  auto* hammer = Item(u"Hammer", Submenu(u"Tools"));
  AccRef toolsObject;
  Then([&] {
    toolsObject = Child(LevelObject(0), 1);
    EXPECT_EQ(toolsObject->accDoDefaultAction(AccVariant::Self()), S_OK);
    EXPECT_EQ(LevelCount(), 1) << "acting waits for the menu's thread";
  });
  Then([&] {
    ASSERT_EQ(LevelCount(), 2);
    EXPECT_EQ(DefaultAction(toolsObject), u"Close");
    AccRef sub;
    EXPECT_EQ(toolsObject->get_accChild(AccVariant::Int(1), &sub), S_OK);
    EXPECT_EQ(sub.get(), LevelObject(1).get());
    EXPECT_EQ(Name(sub), u"Tools");
    EXPECT_EQ(toolsObject->accDoDefaultAction(AccVariant::Self()), S_OK);
    EXPECT_EQ(LevelCount(), 1) << "closing is at once";
    EXPECT_EQ(toolsObject->accDoDefaultAction(AccVariant::Self()), S_OK);
  });
  Then([&] {
    ASSERT_EQ(LevelCount(), 2);
    EXPECT_EQ(Child(LevelObject(1), 1)->accDoDefaultAction(AccVariant::Self()), S_OK);
  });
  EXPECT_EQ(menu->PopupEx(200, 100, false), hammer);
  EXPECT_TRUE(clicks.empty()) << "the click runs after the menu";
  screen.Pump();
  EXPECT_EQ(clicks, std::vector<std::string>{"Hammer"});

  // The client still holds the item of a menu that is gone.
  std::u16string name = u"stale";
  EXPECT_EQ(toolsObject->get_accName(AccVariant::Self(), &name), E_FAIL);
  EXPECT_EQ(name, u"") << "outputs are cleared first";
  AccVariant state;
  EXPECT_EQ(toolsObject->get_accState(AccVariant::Self(), &state), E_FAIL);
  EXPECT_EQ(toolsObject->accDoDefaultAction(AccVariant::Self()), E_FAIL);
  const int live = KestLiveAccObjectCount();
  toolsObject = nullptr;
  EXPECT_EQ(KestLiveAccObjectCount(), live - 1);
}

TEST_F(Acc, AReleasedItemObjectIsMadeAfreshAndTheViewKeepsItsOwn) {
  Item(u"Alpha");
  Then([&] {
    AccRef root = LevelObject(0);
    const int before = KestLiveAccObjectCount();
    root = nullptr;
    EXPECT_EQ(KestLiveAccObjectCount(), before) << "the view keeps its object";
    TKestItemViewer* viewer = Level(0)->Viewers(0);
    AccRef held = viewer->GetAccObject();
    EXPECT_EQ(viewer->GetAccObject().get(), held.get()) << "the same while a client holds it";
    EXPECT_EQ(KestLiveAccObjectCount(), before + 1);
    held = nullptr;
    EXPECT_EQ(KestLiveAccObjectCount(), before) << "gone with its last client";
    AccRef again = viewer->GetAccObject();
    EXPECT_EQ(KestLiveAccObjectCount(), before + 1);
    EXPECT_EQ(Name(again), u"Alpha");
    screen.Key(VK_ESCAPE);
  });
  menu->Popup(200, 100);
}

TEST_F(Acc, WalkingWithTheKeysSendsTheEventsInOrder) {
  Item(u"Alpha");
  Item(u"Hammer", Submenu(u"Tools"));
  WindowHandle root = 0, sub = 0;
  Then([&] {
    root = Level(0)->Window()->Handle();
    screen.Key(VK_DOWN);
  });
  Then([&] { screen.Key(VK_DOWN); });
  Then([&] { screen.Key(VK_RIGHT); });
  Then([&] {
    sub = Level(1)->Window()->Handle();
    screen.Key(VK_ESCAPE);
  });
  Then([&] { screen.Key(VK_ESCAPE); });
  menu->Popup(200, 100);
  using E = headless::HeadlessBackend::AccEvent;
  std::vector<E> seen = screen->accEvents;
  for (auto& e : seen) {
    EXPECT_EQ(e.objectId, OBJID_CLIENT);
    if (e.event == EVENT_SYSTEM_MENUSTART || e.event == EVENT_SYSTEM_MENUEND) e.window = 0;
  }
  const std::vector<std::tuple<std::uint32_t, WindowHandle, int>> expected{
      {EVENT_SYSTEM_MENUSTART, 0, 0},          {EVENT_SYSTEM_MENUPOPUPSTART, root, 0},
      {EVENT_OBJECT_FOCUS, root, 1},           {EVENT_OBJECT_FOCUS, root, 2},
      {EVENT_SYSTEM_MENUPOPUPSTART, sub, 0},   {EVENT_OBJECT_FOCUS, sub, 1},
      {EVENT_SYSTEM_MENUPOPUPEND, sub, 0},     {EVENT_OBJECT_FOCUS, root, 2},
      {EVENT_SYSTEM_MENUPOPUPEND, root, 0},    {EVENT_SYSTEM_MENUEND, 0, 0}};
  std::vector<std::tuple<std::uint32_t, WindowHandle, int>> got;
  for (const auto& e : seen)
    got.emplace_back(e.event, e.window, e.childId);
  EXPECT_EQ(got, expected);
}

} // namespace
} // namespace kest::menu::test
