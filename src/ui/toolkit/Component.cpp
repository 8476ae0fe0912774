#include "Component.h"

#include <algorithm>
#include <stdexcept>

namespace kest::ui {

Component::Component(Component* owner) {
  if (owner) owner->InsertComponent(this);
}

Component::~Component() {
  BeginDestroy();
  if (fOwner) fOwner->RemoveComponent(this);
}

void Component::BeginDestroy() {
  if (fDestroying) return;
  fDestroying = true;
  // Tell everybody who asked; they drop their references to us.
  while (!fFreeNotifies.empty()) {
    Component* other = fFreeNotifies.back();
    fFreeNotifies.pop_back();
    std::erase(other->fFreeNotifies, this);
    other->Notification(this, Operation::Remove);
  }
  DestroyComponents();
}

void Component::SetName(const std::string& name) {
  if (name == fName) return;
  if (!name.empty() && fOwner) {
    const Component* other = fOwner->FindComponent(name);
    if (other && other != this) {
      throw std::invalid_argument("A component named \"" + name + "\" already exists");
    }
  }
  fName = name;
}

Component* Component::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (Component* c : fComponents) {
    if (c->fName == name) return c;
  }
  return nullptr;
}

void Component::InsertComponent(Component* c) {
  if (!c || c->fOwner == this) return;
  if (c->fOwner) c->fOwner->RemoveComponent(c);
  fComponents.push_back(c);
  c->fOwner = this;
  Notification(c, Operation::Insert);
}

void Component::RemoveComponent(Component* c) {
  if (!c || c->fOwner != this) return;
  std::erase(fComponents, c);
  c->fOwner = nullptr;
  Notification(c, Operation::Remove);
}

void Component::DestroyComponents() {
  while (!fComponents.empty()) {
    Component* c = fComponents.back();
    fComponents.pop_back();
    c->fOwner = nullptr;
    Notification(c, Operation::Remove);
    delete c;
  }
}

void Component::FreeNotification(Component* other) {
  if (!other || other == this) return;
  if (std::find(fFreeNotifies.begin(), fFreeNotifies.end(), other) == fFreeNotifies.end()) {
    fFreeNotifies.push_back(other);
  }
  if (std::find(other->fFreeNotifies.begin(), other->fFreeNotifies.end(), this) ==
      other->fFreeNotifies.end()) {
    other->fFreeNotifies.push_back(this);
  }
}

void Component::RemoveFreeNotification(Component* other) {
  if (!other) return;
  std::erase(fFreeNotifies, other);
  std::erase(other->fFreeNotifies, this);
}

void Component::Notification(Component*, Operation) {}

} // namespace kest::ui
