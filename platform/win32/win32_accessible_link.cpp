#include "platform/win32/win32_accessible_link.h"

#include <ole2.h>
#include <oleacc.h>

namespace nudgewick::win32 {
namespace {

template <typename Function>
Function Find(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryW(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The functions of oleacc, oleaut32 and ole32 the answer needs, found once.
struct Accessibility {
    HRESULT(WINAPI* createStandard)(HWND, LONG, REFIID, void**);
    LRESULT(WINAPI* resultFromObject)(REFIID, WPARAM, LPUNKNOWN);
    BSTR(WINAPI* allocString)(const OLECHAR*);
    HRESULT(WINAPI* initialize)(LPVOID, DWORD);

    bool Loaded() const { return createStandard && resultFromObject && allocString && initialize; }
};

const Accessibility& Load() {
    static const Accessibility functions{
        Find<decltype(Accessibility::createStandard)>(L"oleacc.dll", "CreateStdAccessibleObject"),
        Find<decltype(Accessibility::resultFromObject)>(L"oleacc.dll", "LresultFromObject"),
        Find<decltype(Accessibility::allocString)>(L"oleaut32.dll", "SysAllocString"),
        Find<decltype(Accessibility::initialize)>(L"ole32.dll", "CoInitializeEx"),
    };
    return functions;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// Windows' object for the static control, with what makes it a link said
// instead: the role, the link's states and the action. Everything else is
// the standard object's, its name (the address) included.
class AccessibleLink final : public IAccessible {
public:
    AccessibleLink(HWND link, IAccessible* standard, const Accessibility& functions)
        : link_(link), standard_(standard), functions_(functions) {}
    AccessibleLink(const AccessibleLink&) = delete;
    AccessibleLink& operator=(const AccessibleLink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* wrong) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, wrong);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return standard_->get_accName(child, name);
    }
    // A link's value is its address, which is also what it shows.
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return IsSelf(child) ? standard_->get_accName(child, value) : standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return standard_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_LINK;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = standard_->get_accState(child, state);
        if (FAILED(result) || !IsSelf(child) || state->vt != VT_I4) return result;
        state->lVal = (state->lVal & ~STATE_SYSTEM_READONLY) | STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE |
                      (GetFocus() == link_ ? STATE_SYSTEM_FOCUSED : 0);
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child)) return standard_->get_accDefaultAction(child, action);
        *action = functions_.allocString(L"Jump");
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    // Posted, as a click's notification would be: the client's call returns
    // before a message about a failed opener waits for the user.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) return standard_->accDoDefaultAction(child);
        if (!IsWindow(link_)) return E_FAIL;
        PostMessageW(GetParent(link_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link_), STN_CLICKED),
                     reinterpret_cast<LPARAM>(link_));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~AccessibleLink() { standard_->Release(); }

    HWND link_;
    IAccessible* standard_;
    const Accessibility& functions_;
    LONG references_ = 1;
};

}  // namespace

// The object crosses to the client's process through COM, which this thread
// then needs; the window's thread is a single-threaded apartment.
LRESULT AnswerLinkObject(HWND link, WPARAM flags, LPARAM objectId) {
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    const Accessibility& functions = Load();
    if (!functions.Loaded()) return 0;
    static const HRESULT initialized = functions.initialize(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(initialized) && initialized != RPC_E_CHANGED_MODE) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(
            functions.createStandard(link, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
        return 0;
    auto* const answer = new AccessibleLink(link, standard, functions);
    const LRESULT result = functions.resultFromObject(__uuidof(IAccessible), flags, answer);
    answer->Release();
    return result > 0 ? result : 0;  // an error code lets the control answer instead
}

}  // namespace nudgewick::win32
