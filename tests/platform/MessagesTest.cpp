// Posted messages, the thread each window belongs to, and the layer used
// from several threads at once.
#include "PlatformFixtures.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <thread>

namespace {

using fixtures::Recorder;
using fixtures::TestClass;

// A thread that owns windows and runs jobs handed to it, as a host's
// user-interface thread would.
class WindowThread {
public:
    WindowThread() : worker([this] { loop(); }) {}
    ~WindowThread() {
        run([this] { stopping = true; });
        worker.join();
    }

    template <class Job>
    auto run(Job job) -> decltype(job()) {
        std::packaged_task<decltype(job())()> task(job);
        auto result = task.get_future();
        {
            std::lock_guard lock(mutex);
            jobs.push_back([&task] { task(); });
        }
        wake.notify_one();
        return result.get();
    }

private:
    void loop() {
        while (!stopping) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [this] { return !jobs.empty(); });
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job();
        }
    }

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    std::thread worker;
};

TEST(PostedMessages, RunOnlyOnTheThreadThatOwnsTheWindow) {
    TestClass panel;
    WindowThread ui;
    HWND host = ui.run([] { return vtplatform::createHostWindow(10, 10); });
    HWND window = ui.run([&] { return panel.child(host, 0, 0, 5, 5); });
    const DWORD uiThread = ui.run([] { return GetCurrentThreadId(); });
    ui.run([] { return vtplatform::runPostedMessages(); });
    Recorder::get().take();

    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), uiThread);
    EXPECT_NE(uiThread, GetCurrentThreadId());
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    EXPECT_NE(process, 0u);

    EXPECT_TRUE(PostMessageA(window, WM_APP + 1, 11, 12));
    EXPECT_TRUE(PostMessageA(window, WM_USER + 2, 21, 22));
    EXPECT_EQ(vtplatform::runPostedMessages(), 0) << "not this thread's window";
    EXPECT_TRUE(Recorder::get().take().empty());

    EXPECT_EQ(ui.run([] { return vtplatform::runPostedMessages(); }), 2);
    const auto messages = Recorder::get().take();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_APP + 1));
    EXPECT_EQ(messages[0].wParam, 11u);
    EXPECT_EQ(messages[0].lParam, 12);
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_USER + 2));
    for (const auto& m : messages) {
        EXPECT_EQ(m.window, window);
        EXPECT_EQ(m.thread, uiThread);
    }
    EXPECT_EQ(ui.run([] { return vtplatform::runPostedMessages(); }), 0) << "each message runs once";
    ui.run([&] { return DestroyWindow(host); });
}

// Posts itself another message each time one arrives.
LRESULT CALLBACK repost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return fixtures::recordingProc(window, message, wParam, lParam);
    fixtures::record(window, message, wParam, lParam);
    PostMessageA(window, WM_APP, wParam + 1, 0);
    return 0;
}

TEST(PostedMessages, MessagesPostedWhileRunningWaitForTheNextRound) {
    TestClass panel(repost);
    HWND host = vtplatform::createHostWindow(10, 10);
    HWND window = panel.child(host, 0, 0, 5, 5, WS_CHILD);
    vtplatform::runPostedMessages();
    PostMessageA(window, WM_APP, 0, 0);
    EXPECT_EQ(vtplatform::runPostedMessages(), 1);
    EXPECT_EQ(vtplatform::runPostedMessages(), 1);
    const auto received = Recorder::get().take(WM_APP);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].wParam, 1u);
    DestroyWindow(host);
    EXPECT_EQ(vtplatform::runPostedMessages(), 0) << "the last repost died with the window";
}

TEST(PostedMessages, GoNowhereForWindowsThatAreGone) {
    TestClass panel;
    HWND host = vtplatform::createHostWindow(10, 10);
    HWND window = panel.child(host, 0, 0, 5, 5);
    vtplatform::runPostedMessages();
    PostMessageA(window, WM_APP, 0, 0);
    DestroyWindow(window);
    Recorder::get().take();
    EXPECT_EQ(vtplatform::runPostedMessages(), 0);
    EXPECT_TRUE(Recorder::get().take().empty());
    EXPECT_FALSE(PostMessageA(window, WM_APP, 0, 0));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_APP, 0, 0));
    // A message for the thread itself has no window procedure to reach.
    EXPECT_TRUE(PostMessageA(nullptr, WM_APP, 0, 0));
    EXPECT_EQ(vtplatform::runPostedMessages(), 0);
    DestroyWindow(host);
}

TEST(PostedMessages, PaintComesAfterThePostedMessages) {
    TestClass panel;
    HWND host = vtplatform::createHostWindow(10, 10);
    HWND window = panel.child(host, 0, 0, 5, 5);
    vtplatform::runPostedMessages();
    Recorder::get().take();
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(window, WM_APP, 0, 0);
    EXPECT_EQ(vtplatform::runPostedMessages(), 2);
    const auto messages = Recorder::get().take();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_APP));
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_PAINT));
    DestroyWindow(host);
}

TEST(ThreadEnd, TakesTheThreadsWindowsWithIt) {
    TestClass panel;
    const int windowsBefore = vtplatform::windowCount();
    HWND host = vtplatform::createHostWindow(20, 20);
    HWND fromThread = nullptr;
    HWND childOfThread = nullptr;
    std::thread([&] {
        HWND own = vtplatform::createHostWindow(10, 10);
        childOfThread = panel.child(own, 0, 0, 5, 5);
        fromThread = panel.child(host, 0, 0, 5, 5);  // a child in another thread's window
        SetCapture(fromThread);
        PostMessageA(fromThread, WM_APP, 0, 0);
    }).join();
    EXPECT_FALSE(IsWindow(fromThread));
    EXPECT_FALSE(IsWindow(childOfThread));
    EXPECT_TRUE(IsWindow(host));
    EXPECT_EQ(vtplatform::windowCount(), windowsBefore + 1);
    EXPECT_FALSE(vtplatform::deliverMouse(WM_MOUSEMOVE, 500, 500)) << "the capture went with its window";
    EXPECT_TRUE(UnregisterClassA(panel.name, panel.module)) << "no window of the class is left";
    DestroyWindow(host);
}

// Each thread's window paints in its own colour when asked by a posted
// message; the colour comes from the window's user data.
LRESULT CALLBACK paintOnRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return DefWindowProcA(window, message, wParam, lParam);
    HDC dc = GetDC(window);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
    Ellipse(dc, 0, 0, client.right, client.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    ReleaseDC(window, dc);
    return 0;
}

TEST(Concurrency, ThreadsUseTheLayerAtOnceWithoutLosingAnything) {
    constexpr int threadCount = 6;
    constexpr int rounds = 200;
    const int windowsBefore = vtplatform::windowCount();
    const int objectsBefore = vtplatform::gdiObjectCount();
    const int classesBefore = vtplatform::registeredClassCount();
    std::vector<std::uint32_t> finalPixel(threadCount, 0);
    std::vector<int> handled(threadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            TestClass panel(paintOnRequest, "Concurrent");
            HWND host = vtplatform::createHostWindow(8, 8);
            vtplatform::setWindowScreenPosition(host, 100 * t, 0);
            HWND child = panel.child(host, 0, 0, 8, 8);
            const std::vector<unsigned char> bmp = fixtures::makeBmp({{0x102030, 0x405060}}, 24, false);
            for (int r = 0; r < rounds; ++r) {
                SetWindowLongPtrA(child, GWLP_USERDATA, RGB(t, r % 256, 7));
                PostMessageA(child, WM_APP, 0, 0);
                handled[static_cast<std::size_t>(t)] += vtplatform::runPostedMessages();
                // Work that crosses other threads' state: resources, the
                // mouse, memory contexts.
                vtplatform::registerBitmap(panel.module, 1 + r % 3, bmp.data(), bmp.size());
                HBITMAP bitmap = LoadBitmapA(panel.module, MAKEINTRESOURCEA(1 + r % 3));
                HDC memory = CreateCompatibleDC(nullptr);
                HGDIOBJ previous = SelectObject(memory, bitmap);
                HDC dc = GetDC(child);
                BitBlt(dc, 0, 0, 2, 1, memory, 0, 0, SRCPAINT);
                ReleaseDC(child, dc);
                SelectObject(memory, previous);
                DeleteDC(memory);
                DeleteObject(bitmap);
                vtplatform::deliverMouse(WM_MOUSEMOVE, 100 * t + 3, 3);
                std::vector<std::uint32_t> pixels;
                int width = 0;
                int height = 0;
                vtplatform::readWindowPixels(host, pixels, width, height);
            }
            SetWindowLongPtrA(child, GWLP_USERDATA, RGB(t, 1, 2));
            PostMessageA(child, WM_APP, 0, 0);
            vtplatform::runPostedMessages();
            finalPixel[static_cast<std::size_t>(t)] = fixtures::pixelAt(host, 4, 4);
            for (int id = 1; id <= 3; ++id) vtplatform::unregisterBitmap(panel.module, id);
            DestroyWindow(host);
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < threadCount; ++t) {
        EXPECT_EQ(finalPixel[static_cast<std::size_t>(t)], static_cast<std::uint32_t>(t << 16 | 1 << 8 | 2)) << t;
        // Every round's own message, plus the first paints of its two windows.
        EXPECT_EQ(handled[static_cast<std::size_t>(t)], rounds + 2) << t;
    }
    EXPECT_EQ(vtplatform::windowCount(), windowsBefore);
    EXPECT_EQ(vtplatform::gdiObjectCount(), objectsBefore);
    EXPECT_EQ(vtplatform::registeredClassCount(), classesBefore);
}

}  // namespace
