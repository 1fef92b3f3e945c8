// Window classes, registered per module under a case-insensitive name.
#include "State.h"

#include <vtplatform/PlatformHost.h>

using namespace vtplatform::detail;

namespace {

bool usableName(LPCSTR name) { return name != nullptr && !IS_INTRESOURCE(name) && name[0] != '\0'; }

}  // namespace

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
    if (wndClass == nullptr || wndClass->lpfnWndProc == nullptr || !usableName(wndClass->lpszClassName)) return 0;
    State& s = state();
    std::lock_guard lock(s.mutex);
    const ClassKey key{wndClass->hInstance, lowerCase(wndClass->lpszClassName)};
    if (s.classes.count(key) != 0) return 0;
    WindowClass& registered = s.classes[key];
    registered.description = *wndClass;
    // The caller's strings need not outlive the call.
    registered.description.lpszClassName = nullptr;
    registered.description.lpszMenuName = nullptr;
    registered.atom = s.nextAtom++;
    return registered.atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wndClass) {
    if (!usableName(className) || wndClass == nullptr) return FALSE;
    State& s = state();
    std::lock_guard lock(s.mutex);
    const auto found = s.classes.find(ClassKey{instance, lowerCase(className)});
    if (found == s.classes.end()) return FALSE;
    *wndClass = found->second.description;
    wndClass->lpszClassName = className;
    return TRUE;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    if (!usableName(className)) return FALSE;
    State& s = state();
    std::lock_guard lock(s.mutex);
    const ClassKey key{instance, lowerCase(className)};
    const auto found = s.classes.find(key);
    if (found == s.classes.end()) return FALSE;
    // The system refuses while windows of the class still exist.
    for (const auto& [handle, window] : s.windows)
        if (window.hasClass && window.classKey == key) return FALSE;
    s.classes.erase(found);
    return TRUE;
}

int vtplatform::registeredClassCount() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return static_cast<int>(s.classes.size());
}
