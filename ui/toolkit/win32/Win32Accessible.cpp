#include "ui/toolkit/win32/Win32Accessible.h"

// After windows.h: the accessibility interfaces and the window interface they are asked through.
#include <oleacc.h>
#include <oleidl.h>

#include <string>

namespace tarnwick::tk::win32 {

namespace {

// The calls of the accessibility and COM libraries, loaded from the system folder on the first
// question; COM is started on the window's thread then, for the rest of the program (the answer
// is handed to the screen reader through it). None when a library or a call cannot be had.
struct Libraries {
  decltype(&CreateStdAccessibleObject) standardObject;
  decltype(&LresultFromObject) resultFromObject;
  decltype(&SysAllocStringLen) allocString;
};

template <typename Function>
Function loaded(const wchar_t* library, const char* name) {
  const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return nullptr;
  // Through void(*)(), the pointer type that converts to every other function pointer type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::optional<Libraries> load() {
  const auto startCom = loaded<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  if (startCom == nullptr) return std::nullopt;
  const HRESULT com = startCom(nullptr, COINIT_APARTMENTTHREADED);
  // Started here or before (S_FALSE), or started before in the other threading model: usable.
  if (FAILED(com) && com != RPC_E_CHANGED_MODE) return std::nullopt;
  const auto standardObject =
      loaded<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
  if (standardObject == nullptr) return std::nullopt;
  const auto resultFromObject = loaded<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  if (resultFromObject == nullptr) return std::nullopt;
  const auto allocString = loaded<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  if (allocString == nullptr) return std::nullopt;
  return Libraries{standardObject, resultFromObject, allocString};
}

const std::optional<Libraries>& libraries() {
  static const std::optional<Libraries> l = load();
  return l;
}

LONG roleOf(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::Label: return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Group: return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::Button: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case AccessibleRole::List: return ROLE_SYSTEM_COMBOBOX;
    case AccessibleRole::Edit: return ROLE_SYSTEM_TEXT;
  }
  return ROLE_SYSTEM_CLIENT;
}

bool isSelf(const VARIANT& id) { return id.vt == VT_I4 && id.lVal == CHILDID_SELF; }

}  // namespace

// One control's accessible object: the system's standard object for the control, with the
// host's words in it. Made by WindowAccessibility, which disconnects it when the window ends.
// A COM object ends itself in Release, never through its interfaces' (non-virtual) destructors.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ControlAccessible final : public IAccessible, public IOleWindow {
 public:
  ControlAccessible(IAccessible* standard, HWND control, int index, const DialogHost& host)
      : standard_(standard), control_(control), index_(index), host_(&host) {}
  ControlAccessible(const ControlAccessible&) = delete;
  ControlAccessible& operator=(const ControlAccessible&) = delete;

  void disconnect() {
    host_ = nullptr;
    if (standard_ != nullptr) standard_->Release();
    standard_ = nullptr;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IOleWindow)) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      disconnect();
      delete this;
    }
    return left;
  }

  // IOleWindow: the control the object stands for.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = control_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enter*/) override { return E_NOTIMPL; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_ != nullptr ? standard_->GetTypeInfoCount(count) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT info, LCID locale, ITypeInfo** type) override {
    return standard_ != nullptr ? standard_->GetTypeInfo(info, locale, type) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_ != nullptr ? standard_->GetIDsOfNames(iid, names, count, locale, ids)
                                : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument) override {
    return standard_ != nullptr ? standard_->Invoke(member, iid, locale, flags, parameters, result,
                                                    exception, argument)
                                : CO_E_OBJNOTCONNECTED;
  }

  // IAccessible: the host's name, description, and role and check where the system has none.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    if (!isSelf(id) || standard_ == nullptr) return forwarded(&IAccessible::get_accName, id, name);
    return text(said().name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override {
    if (!isSelf(id) || standard_ == nullptr) {
      return forwarded(&IAccessible::get_accDescription, id, description);
    }
    return text(said().description, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    const HRESULT result = forwarded(&IAccessible::get_accRole, id, role);
    if (SUCCEEDED(result) && isSelf(id) && generic(*role)) {
      role->vt = VT_I4;
      role->lVal = roleOf(said().role);
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    const HRESULT result = forwarded(&IAccessible::get_accState, id, state);
    if (SUCCEEDED(result) && isSelf(id) && state->vt == VT_I4 && genericRole()) {
      const AccessibleRole role = said().role;
      const bool checkable = role == AccessibleRole::CheckBox || role == AccessibleRole::RadioButton;
      if (checkable && SendMessageW(control_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        state->lVal |= STATE_SYSTEM_CHECKED;
      }
    }
    return result;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_ != nullptr ? standard_->get_accParent(parent) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_ != nullptr ? standard_->get_accChildCount(count) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    return forwarded(&IAccessible::get_accChild, id, child);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
    return forwarded(&IAccessible::get_accValue, id, value);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override {
    return forwarded(&IAccessible::get_accHelp, id, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override {
    return standard_ != nullptr ? standard_->get_accHelpTopic(file, id, topic) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override {
    return forwarded(&IAccessible::get_accKeyboardShortcut, id, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* id) override {
    return standard_ != nullptr ? standard_->get_accFocus(id) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* id) override {
    return standard_ != nullptr ? standard_->get_accSelection(id) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
    return forwarded(&IAccessible::get_accDefaultAction, id, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override {
    return standard_ != nullptr ? standard_->accSelect(flags, id) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT id) override {
    return standard_ != nullptr ? standard_->accLocation(left, top, width, height, id)
                                : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_ != nullptr ? standard_->accNavigate(direction, start, end) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* id) override {
    return standard_ != nullptr ? standard_->accHitTest(x, y, id) : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
    return standard_ != nullptr ? standard_->accDoDefaultAction(id) : CO_E_OBJNOTCONNECTED;
  }
  // The name is the host's: a screen reader does not rename a control.
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT /*id*/, BSTR /*name*/) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT id, BSTR value) override {
    return standard_ != nullptr ? standard_->put_accValue(id, value) : CO_E_OBJNOTCONNECTED;
  }

 private:
  ~ControlAccessible() = default;

  template <typename Out>
  HRESULT forwarded(HRESULT (STDMETHODCALLTYPE IAccessible::*call)(VARIANT, Out*), VARIANT id,
                    Out* out) {
    if (standard_ == nullptr) return CO_E_OBJNOTCONNECTED;
    return (standard_->*call)(id, out);
  }

  Accessible said() const {
    const std::vector<Accessible> all = host_->accessibility();
    return index_ < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(index_)] : Accessible{};
  }

  static bool generic(const VARIANT& role) { return role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_CLIENT; }

  bool genericRole() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    return SUCCEEDED(standard_->get_accRole(self, &role)) && generic(role);
  }

  // A text as the caller's string, or none (S_FALSE) when empty.
  static HRESULT text(const std::u16string& value, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (value.empty()) return S_FALSE;
    *out = libraries()->allocString(reinterpret_cast<const OLECHAR*>(value.data()),
                                   static_cast<UINT>(value.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  ULONG references_ = 1;
  IAccessible* standard_;
  HWND control_;
  int index_;
  const DialogHost* host_;
};
#pragma GCC diagnostic pop

WindowAccessibility::~WindowAccessibility() {
  for (ControlAccessible* object : objects_) {
    if (object == nullptr) continue;
    object->disconnect();
    object->Release();
  }
}

std::optional<LRESULT> WindowAccessibility::answer(HWND control, int index, WPARAM wParam,
                                                   LPARAM lParam) {
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || index < 0) return std::nullopt;
  const std::optional<Libraries>& l = libraries();
  if (!l) return std::nullopt;
  if (objects_.size() <= static_cast<std::size_t>(index)) objects_.resize(static_cast<std::size_t>(index) + 1);
  ControlAccessible*& object = objects_[static_cast<std::size_t>(index)];
  if (object == nullptr) {
    IAccessible* standard = nullptr;
    if (FAILED(l->standardObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
      return std::nullopt;
    }
    object = new ControlAccessible(standard, control, index, host_);
  }
  return l->resultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
}

}  // namespace tarnwick::tk::win32
