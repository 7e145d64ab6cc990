// The real platform's wait for a started program (the label step waits for subst): the caller's
// single-threaded apartment keeps handling what other threads send it while it waits, instead
// of freezing its windows and every call into it for as long as the wait lasts.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "com_test_support.h"
#include "platform/platform.h"

namespace zolbex {
namespace {

using namespace testing;

constexpr UINT kSignal = WM_APP + 1;
// Long enough never to end a passing test; a wait that does not pump fails after it.
constexpr DWORD kLongWait = 20000;

LRESULT CALLBACK SignallingWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSignal) {
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ProgramWaitTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = SignallingWindow;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ZOLBEX11 wait test";
        RegisterClassW(&windowClass);
        window_ = CreateWindowW(L"ZOLBEX11 wait test", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        CloseHandle(event_);
        ComTest::TearDown();
    }

    HANDLE event_ = nullptr;  // stands for the started program's process handle
    HWND window_ = nullptr;
};

TEST_F(ProgramWaitTest, AWindowOfTheWaitingThreadAnswersAnotherThreadDuringTheWait) {
    // The program "ends" only when the waiting thread's window has handled the message.
    DWORD_PTR answer = 0;
    std::thread sender([&] {
        SendMessageTimeoutW(window_, kSignal, 0, reinterpret_cast<LPARAM>(event_), SMTO_BLOCK, kLongWait, &answer);
    });
    const bool ended = platform::Win32().WaitForProgram(event_, kLongWait);
    sender.join();
    EXPECT_TRUE(ended);
    EXPECT_EQ(answer, 1u);
}

TEST_F(ProgramWaitTest, AnEndedProgramIsSeenAndOneStillRunningIsNot) {
    EXPECT_FALSE(platform::Win32().WaitForProgram(event_, 0));
    SetEvent(event_);
    EXPECT_TRUE(platform::Win32().WaitForProgram(event_, kLongWait));
}

TEST(ProgramWaitOutsideComTest, AThreadWithoutAnApartmentStillWaits) {
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    bool ended = false;
    std::thread waiter([&] { ended = platform::Win32().WaitForProgram(event, kLongWait); });
    waiter.join();
    CloseHandle(event);
    EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace zolbex
