// Posted messages, each window's thread, and running a thread's messages.
#include "State.h"

#include <vtplatform/PlatformHost.h>

#include <algorithm>
#include <sys/syscall.h>
#include <unistd.h>

using namespace vtplatform::detail;

DWORD WINAPI GetCurrentThreadId() {
    static thread_local const DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const Window* w = s.findWindow(window);
    if (w == nullptr) return 0;
    if (processId != nullptr) *processId = static_cast<DWORD>(getpid());
    return w->thread;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    DWORD thread = GetCurrentThreadId();  // no window: a message for the calling thread itself
    if (window != nullptr) {
        const Window* w = s.findWindow(window);
        if (w == nullptr || w->destroying) return FALSE;
        thread = w->thread;
    }
    s.queues[thread].push_back(PostedMessage{window, message, wParam, lParam});
    return TRUE;
}

int vtplatform::runPostedMessages() {
    State& s = state();
    const DWORD thread = GetCurrentThreadId();
    std::deque<PostedMessage> posted;
    {
        std::lock_guard lock(s.mutex);
        const auto queue = s.queues.find(thread);
        if (queue != s.queues.end()) {
            posted.swap(queue->second);
            s.queues.erase(queue);
        }
    }
    int handled = 0;
    for (const PostedMessage& m : posted) {
        // A thread message has no window procedure to go to.
        if (m.window == nullptr || !IsWindow(m.window)) continue;
        sendMessage(m.window, m.message, m.wParam, m.lParam);
        ++handled;
    }

    // WM_PAINT comes once the posted messages are done, parents before their
    // children (handles grow with creation).
    std::vector<HWND> invalid;
    {
        std::lock_guard lock(s.mutex);
        for (const auto& [handle, w] : s.windows)
            if (w.thread == thread && w.invalid && s.isShown(handle)) invalid.push_back(handle);
    }
    std::sort(invalid.begin(), invalid.end(), [](HWND a, HWND b) {
        return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b);
    });
    for (HWND window : invalid) {
        bool stillInvalid = false;
        {
            std::lock_guard lock(s.mutex);
            const Window* w = s.findWindow(window);
            stillInvalid = w != nullptr && w->invalid && s.isShown(window);
        }
        if (!stillInvalid) continue;
        sendMessage(window, WM_PAINT, 0, 0);
        ++handled;
    }
    return handled;
}
