#pragma once
// The root of the toolkit's objects: an owner that frees what it owns, a
// name, a tag, and notices to interested components when one goes away.
#include <cstdint>
#include <string>
#include <vector>

namespace kest::ui {

enum class Operation { Insert, Remove };

class Component {
public:
  explicit Component(Component* owner = nullptr);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  Component* Owner() const { return fOwner; }
  const std::string& Name() const { return fName; }
  // Names are unique among the components of one owner; a clash raises
  // std::invalid_argument. Virtual, so that a rename through any pointer
  // reaches what a derived class does about it.
  virtual void SetName(const std::string& name);
  std::intptr_t Tag() const { return fTag; }
  void SetTag(std::intptr_t tag) { fTag = tag; }

  const std::vector<Component*>& Components() const { return fComponents; }
  int ComponentCount() const { return static_cast<int>(fComponents.size()); }
  Component* FindComponent(const std::string& name) const;
  void InsertComponent(Component* c);
  void RemoveComponent(Component* c);
  // Frees every owned component, the last created first.
  void DestroyComponents();

  // Asks that other hears (Notification with Remove) when this component
  // is destroyed, and the other way round.
  void FreeNotification(Component* other);
  void RemoveFreeNotification(Component* other);

  bool Destroying() const { return fDestroying; }

protected:
  // Owned components arriving and leaving, and free notices.
  virtual void Notification(Component* component, Operation op);
  // Derived destructors call this first so that owned components go while
  // the owner is still whole.
  void BeginDestroy();

private:
  Component* fOwner = nullptr;
  std::string fName;
  std::intptr_t fTag = 0;
  std::vector<Component*> fComponents;
  std::vector<Component*> fFreeNotifies;
  bool fDestroying = false;
};

} // namespace kest::ui
