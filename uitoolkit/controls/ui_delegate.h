// Delegates and event sources: a control raises OnInit, OnPaint, OnNotify, ... through an event
// source, which calls its delegates in order until one answers false.
#pragma once

#include <memory>
#include <vector>

namespace SkinUI {

// An object pointer plus a function taking one parameter and answering whether the caller
// should go on.
class CDelegateBase {
 public:
  virtual ~CDelegateBase() = default;
  // A new delegate equal to this one.
  virtual CDelegateBase* Copy() const = 0;
  // Calls the function with `param`.
  virtual bool Invoke(void* param) = 0;

  bool operator()(void* param) { return Invoke(param); }
  // Same object and same function.
  bool Equals(const CDelegateBase& other) const {
    return m_object == other.m_object && SameFunction(other);
  }
  void* GetObj() const { return m_object; }

 protected:
  explicit CDelegateBase(void* object) : m_object(object) {}
  CDelegateBase(const CDelegateBase&) = default;
  CDelegateBase& operator=(const CDelegateBase&) = default;

 private:
  // True when `other` is of the same kind and wraps the same function.
  virtual bool SameFunction(const CDelegateBase& other) const = 0;

  void* m_object;
};

// Wraps a free function; the object is null.
class CDelegateStatic : public CDelegateBase {
 public:
  typedef bool (*Function)(void* param);

  explicit CDelegateStatic(Function function) : CDelegateBase(nullptr), m_function(function) {}
  CDelegateBase* Copy() const override { return new CDelegateStatic(*this); }
  bool Invoke(void* param) override { return m_function(param); }

 private:
  bool SameFunction(const CDelegateBase& other) const override {
    const CDelegateStatic* same = dynamic_cast<const CDelegateStatic*>(&other);
    return same != nullptr && same->m_function == m_function;
  }

  Function m_function;
};

// Wraps a member function `bool (O::*)(void*)` of an object of class O; T is the class that
// declares the handler (O or a base of it).
template <class O, class T>
class CDelegate : public CDelegateBase {
 public:
  typedef bool (T::*Function)(void* param);

  CDelegate(O* object, Function function) : CDelegateBase(object), m_function(function) {}
  CDelegateBase* Copy() const override { return new CDelegate(*this); }
  bool Invoke(void* param) override {
    O* object = static_cast<O*>(GetObj());
    return (object->*m_function)(param);
  }

 private:
  bool SameFunction(const CDelegateBase& other) const override {
    const CDelegate* same = dynamic_cast<const CDelegate*>(&other);
    return same != nullptr && same->m_function == m_function;
  }

  Function m_function;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* object, bool (T::*function)(void*)) {
  return CDelegate<O, T>(object, function);
}

inline CDelegateStatic MakeDelegate(bool (*function)(void*)) { return CDelegateStatic(function); }

// An ordered list of owned delegates.
class CEventSource {
 public:
  CEventSource() = default;
  CEventSource(const CEventSource&) = delete;
  CEventSource& operator=(const CEventSource&) = delete;

  // True when at least one delegate listens.
  explicit operator bool() const { return !m_delegates.empty(); }
  int GetCount() const { return static_cast<int>(m_delegates.size()); }

  // Appends a copy of the delegate unless an equal one is already present.
  void operator+=(const CDelegateBase& delegate);
  void operator+=(CDelegateStatic::Function function);
  // Removes the first equal delegate.
  void operator-=(const CDelegateBase& delegate);
  void operator-=(CDelegateStatic::Function function);
  // Calls every delegate in order; the first that answers false stops the call, which then
  // answers false.
  bool operator()(void* param);

 private:
  std::vector<std::unique_ptr<CDelegateBase>> m_delegates;
};

}  // namespace SkinUI
