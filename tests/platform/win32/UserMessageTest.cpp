// Message queues: order of retrieval, filters, posting and sending across threads, translation,
// hooks and registered messages.
#include <windows.h>

#include <MessageSpy.h>
#include <UiTest.h>

#include <atomic>
#include <thread>

using namespace spy;

namespace {

class UserMessageTest : public ui::UiTest {
protected:
    MessageSpy spy;

    HWND Popup(bool visible = false)
    {
        return CreateWindowExA(0, MessageSpy::ClassName(), "", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
    }
};

// A second thread with a spy window of its own, dispatching its messages until Stop(). With
// destroyAtEnd it destroys its window before it ends; otherwise the window is left to go with
// the thread.
class PumpingThread {
public:
    explicit PumpingThread(bool destroyAtEnd)
        : m_thread([this, destroyAtEnd] {
              HWND hwnd = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                          nullptr, nullptr);
              m_window = hwnd;
              MSG msg;
              while (!m_done) {
                  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                      DispatchMessageA(&msg);
                  WaitMessage();
              }
              if (destroyAtEnd)
                  DestroyWindow(hwnd);
          })
    {
        while (!m_window)
            std::this_thread::yield();
    }
    ~PumpingThread() { Stop(); }

    HWND Window() const { return m_window; }
    void Stop()
    {
        if (!m_thread.joinable())
            return;
        m_done = true;
        PostMessageA(m_window, WM_NULL, 0, 0);
        m_thread.join();
    }

private:
    std::atomic<HWND> m_window{nullptr};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

TEST_F(UserMessageTest, RetrievalOrderIsPostedInputQuitPaintTimer)
{
    HWND w = Popup(true);
    ui::PumpUntilIdle();
    SetTimer(w, 5, 10, nullptr);
    host::StepClock(10);
    InvalidateRect(w, nullptr, FALSE);
    PostQuitMessage(3);
    host::Click(50, 50);
    PostMessageA(w, WM_USER + 1, 0, 0);
    std::vector<UINT> order;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        if (msg.message == WM_QUIT)
            continue;
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_QUIT, WM_PAINT,
                                        WM_TIMER}));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    KillTimer(w, 5);
}

TEST_F(UserMessageTest, PeekFiltersAndNoRemove)
{
    HWND a = Popup(), b = Popup();
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(b, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3)) << "-1 means thread messages";
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, b);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.hwnd, a);
    EXPECT_EQ(msg.time, static_cast<DWORD>(host::ClockMilliseconds()));
    EXPECT_EQ(GetMessageTime(), static_cast<LONG>(msg.time));
    PostQuitMessage(7);
    EXPECT_EQ(GetMessageA(&msg, a, WM_USER, WM_USER), FALSE) << "WM_QUIT ignores filters";
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(GetMessageA(&msg, reinterpret_cast<HWND>(0x1234), 0, 0), -1);
}

TEST_F(UserMessageTest, InputOutsideTheFilterStaysQueued)
{
    HWND w = Popup(true);
    SetFocus(w);
    ui::PumpUntilIdle();
    host::PressKey('A');
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYUP, WM_KEYUP, PM_NOREMOVE)) << "a key-up is queued behind the key-down";
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYUP, WM_KEYUP, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN)) << "still there";
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    // Input that no window of this thread can take is dropped, not retried for ever.
    host::Click(10, 10);
    EnableWindow(w, FALSE);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserMessageTest, PostMessageFromAWorkerThreadArrivesInOrder)
{
    HWND w = Popup();
    std::thread worker([w] {
        for (int i = 0; i < 200; ++i)
            PostMessageA(w, WM_USER, static_cast<WPARAM>(i), 0);
        PostMessageA(w, WM_USER + 1, 0, 0);
    });
    std::vector<WPARAM> got;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_USER + 1)
            break;
        if (msg.message == WM_USER)
            got.push_back(msg.wParam);
        DispatchMessageA(&msg);
    }
    worker.join();
    ASSERT_EQ(got.size(), 200u);
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], i);
    EXPECT_EQ(spy.Count(WM_USER, w), 200u);
}

TEST_F(UserMessageTest, SendAcrossThreadsServesTheSendersIncomingMessagesWhileWaiting)
{
    HWND mine = Popup();
    DWORD mainThread = GetWindowThreadProcessId(mine, nullptr);
    std::atomic<BOOL> inSend{FALSE};
    spy.handler = [&](HWND hwnd, UINT m, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER + 10) {
            inSend = InSendMessage();
            EXPECT_NE(GetWindowThreadProcessId(hwnd, nullptr), mainThread);
            // Calls back into the waiting sender's thread.
            return SendMessageA(mine, WM_USER + 11, wParam, 0) + 1;
        }
        if (m == WM_USER + 11)
            return static_cast<LRESULT>(wParam * 10);
        return std::nullopt;
    };
    PumpingThread worker(true);
    EXPECT_EQ(SendMessageA(worker.Window(), WM_USER + 10, 4, 0), 41);
    EXPECT_TRUE(inSend);
    EXPECT_FALSE(InSendMessage());
    worker.Stop();
}

TEST_F(UserMessageTest, RepliesAndTimeoutsOfSendsAcrossThreads)
{
    std::atomic<bool> release{false};
    std::atomic<DWORD> sendState{0};
    spy.handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER + 20) {
            EXPECT_TRUE(ReplyMessage(11));
            EXPECT_FALSE(ReplyMessage(12)) << "only one reply";
            sendState = InSendMessageEx(nullptr);
            while (!release)
                std::this_thread::yield();
            return 13;
        }
        if (m == WM_USER + 21) {
            while (!release)
                std::this_thread::yield();
            return 14;
        }
        return std::nullopt;
    };
    PumpingThread worker(false);
    HWND theirs = worker.Window();
    EXPECT_EQ(SendMessageA(theirs, WM_USER + 20, 0, 0), 11) << "the reply answers before the handler ends";
    while (sendState.load() == 0)  // the handler goes on after its reply
        std::this_thread::yield();
    EXPECT_EQ(sendState.load(), static_cast<DWORD>(ISMEX_SEND | ISMEX_REPLIED));
    DWORD_PTR result = 0;
    release = false;
    EXPECT_EQ(SendMessageTimeoutA(theirs, WM_USER + 21, 0, 0, SMTO_NORMAL, 20, &result), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    release = true;
    worker.Stop();
    EXPECT_FALSE(IsWindow(theirs)) << "the windows of a thread that ends go with it";
    EXPECT_FALSE(PostMessageA(theirs, WM_USER, 0, 0));
}

LRESULT CALLBACK EatRightClicks(int code, WPARAM wParam, LPARAM lParam)
{
    auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    EXPECT_NE(info->hwnd, nullptr);
    if (code == HC_ACTION && (wParam == WM_RBUTTONDOWN || wParam == WM_RBUTTONUP))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(UserMessageTest, MouseHooksSeeAndSwallowMouseMessages)
{
    HWND w = Popup(true);
    ui::PumpUntilIdle();
    HHOOK hook = SetWindowsHookExA(WH_MOUSE, EatRightClicks, nullptr, 0);
    spy.Clear();
    host::Click(10, 10, host::MouseButton::Right);
    host::Click(10, 10);
    ui::PumpUntilIdle();
    EXPECT_EQ(spy.Count(WM_RBUTTONDOWN, w), 0u);
    EXPECT_EQ(spy.Count(WM_LBUTTONDOWN, w), 1u);
    UnhookWindowsHookEx(hook);
    POINT p{};
    DWORD pos = GetMessagePos();
    p.x = GET_X_LPARAM(pos);
    p.y = GET_Y_LPARAM(pos);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 10);
}

TEST_F(UserMessageTest, TranslateMessageMakesCharactersFromKeys)
{
    HWND w = Popup(true);
    SetFocus(w);
    ui::PumpUntilIdle();
    spy.Clear();
    host::TypeText("aB!");
    ui::PumpUntilIdle();
    std::vector<std::pair<UINT, WPARAM>> chars;
    for (const Recorded& r : spy.Messages(w))
        if (r.message == WM_CHAR)
            chars.emplace_back(r.message, r.wParam);
    EXPECT_EQ(chars, (std::vector<std::pair<UINT, WPARAM>>{{WM_CHAR, 'a'}, {WM_CHAR, 'B'}, {WM_CHAR, '!'}}));
    spy.Clear();
    host::KeyDown('Q');
    host::KeyDown('Q');
    host::KeyUp('Q');
    ui::PumpUntilIdle();
    auto got = spy.Messages(w);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(got[0].lParam & 0x4000FFFF, 1) << "first press: count 1, previous state up";
    EXPECT_EQ(got[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(got[2].lParam & 0x40000000, 0x40000000) << "repeat: previous state down";
    EXPECT_EQ(got[4].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(got[4].lParam) & 0xC0000000u, 0xC0000000u);
    EXPECT_EQ((got[0].lParam >> 16) & 0xFF, static_cast<LPARAM>(MapVirtualKeyA('Q', MAPVK_VK_TO_VSC)));
}

LRESULT CALLBACK SwallowQ(int code, WPARAM wParam, LPARAM lParam);
HHOOK g_first = nullptr, g_second = nullptr;
std::vector<std::string> g_calls;

LRESULT CALLBACK SwallowQ(int code, WPARAM wParam, LPARAM lParam)
{
    g_calls.push_back("first");
    if (code == HC_ACTION && wParam == 'Q')
        return 1;
    return CallNextHookEx(g_first, code, wParam, lParam);
}

LRESULT CALLBACK Second(int code, WPARAM wParam, LPARAM lParam)
{
    g_calls.push_back("second");
    return CallNextHookEx(g_second, code, wParam, lParam);
}

TEST_F(UserMessageTest, KeyboardHooksChainAndSwallow)
{
    HWND w = Popup(true);
    SetFocus(w);
    g_calls.clear();
    g_second = SetWindowsHookExA(WH_KEYBOARD, Second, nullptr, 0);
    g_first = SetWindowsHookExA(WH_KEYBOARD, SwallowQ, nullptr, 0);
    ASSERT_TRUE(g_first && g_second);
    ui::PumpUntilIdle();
    spy.Clear();
    host::KeyDown('Q');
    host::KeyDown('W');
    ui::PumpUntilIdle();
    auto got = spy.Messages(w);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>('W'));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"first", "first", "second"}));
    EXPECT_TRUE(UnhookWindowsHookEx(g_first));
    EXPECT_FALSE(UnhookWindowsHookEx(g_first));
    EXPECT_TRUE(UnhookWindowsHookEx(g_second));
    EXPECT_EQ(SetWindowsHookExA(WH_JOURNALRECORD, Second, nullptr, 0), nullptr);
}

LRESULT CALLBACK Filter(int code, WPARAM, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    return code == MSGF_MENU && msg->message == WM_USER;
}

TEST_F(UserMessageTest, MessageFilterHookSeesModalLoopMessages)
{
    HHOOK h = SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetWindowThreadProcessId(Popup(), nullptr));
    MSG msg{};
    msg.message = WM_USER;
    EXPECT_TRUE(CallMsgFilterA(&msg, MSGF_MENU));
    EXPECT_FALSE(CallMsgFilterA(&msg, MSGF_DIALOGBOX));
    UnhookWindowsHookEx(h);
    EXPECT_FALSE(CallMsgFilterA(&msg, MSGF_MENU));
}

TEST_F(UserMessageTest, RegisteredMessagesAreSharedByName)
{
    UINT a = RegisterWindowMessageA("VL_Refresh");
    EXPECT_GE(a, 0xC000u);
    EXPECT_LE(a, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageA("vl_refresh"), a);
    EXPECT_NE(RegisterWindowMessageA("Other"), a);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

TEST_F(UserMessageTest, DispatchOfAPaintThatIsNotValidatedDoesNotRepeat)
{
    HWND w = Popup(true);
    spy.handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_PAINT)
            return 0;  // never calls BeginPaint
        return std::nullopt;
    };
    EXPECT_LT(ui::PumpUntilIdle(), 5);
    EXPECT_EQ(spy.Count(WM_PAINT, w), 1u);
}

TEST_F(UserMessageTest, MsgWaitWakesForObjectsOrMessages)
{
    HWND w = Popup();
    HANDLE events[2] = {CreateEvent(nullptr, FALSE, FALSE, nullptr), CreateEvent(nullptr, TRUE, FALSE, nullptr)};
    ui::PumpUntilIdle();

    // Nothing signalled, nothing queued.
    EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 20, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
    // A waiting message answers at once with index nCount; a kind outside the mask does not.
    PostMessageA(w, WM_USER, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0 + 2));
    EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 0, QS_KEY), static_cast<DWORD>(WAIT_TIMEOUT));
    ui::PumpUntilIdle();
    // A signalled object gives its index (and is taken, as by any wait).
    SetEvent(events[1]);
    EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, INFINITE, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0 + 1));
    ResetEvent(events[1]);
    SetEvent(events[0]);
    EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT))
        << "auto-reset";

    // A post from another thread wakes a wait without timeout; so does an event set there.
    std::thread poster([w] {
        Sleep(20);
        PostMessageA(w, WM_USER + 1, 0, 0);
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_POSTMESSAGE), static_cast<DWORD>(WAIT_OBJECT_0));
    poster.join();
    ui::PumpUntilIdle();
    std::thread setter([&] {
        Sleep(20);
        SetEvent(events[1]);
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, INFINITE, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0 + 1));
    setter.join();

    // Waiting for all: the objects and a message together.
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &events[1], TRUE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the object alone is not enough";
    PostMessageA(w, WM_USER, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &events[1], TRUE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
    ResetEvent(events[1]);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &events[1], TRUE, 10, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
    ui::PumpUntilIdle();

    // A timer that comes due on the stepped clock counts as a QS_TIMER message.
    SetTimer(w, 5, 100, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_TIMER), static_cast<DWORD>(WAIT_TIMEOUT));
    host::StepClock(100);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_TIMER), static_cast<DWORD>(WAIT_OBJECT_0));
    KillTimer(w, 5);

    // Bad arguments.
    HANDLE bad = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(0x7654));
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &bad, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_FAILED));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(MsgWaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, events, FALSE, 0, QS_ALLINPUT),
              static_cast<DWORD>(WAIT_FAILED));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(events[0]);
    CloseHandle(events[1]);
}

}  // namespace
