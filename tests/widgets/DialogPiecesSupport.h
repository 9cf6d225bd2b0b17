// Fixture of the small controls' tests (numeric edits, combo boxes, the find window): a form
// window that records the commands, notices and keys its children hand it.
#pragma once

#include "WidgetTestSupport.h"

#include <host/Input.h>
#include <host/UiScript.h>

#include <afxwin.h>

#include <vector>

struct FormMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT code;  // WM_NOTIFY: the notice's code
    bool operator==(const FormMessage&) const = default;
};

class CRecordingForm : public CWnd {
public:
    std::vector<FormMessage> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_COMMAND:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            received.push_back({message, wParam, message == WM_COMMAND ? lParam : 0, 0});
            break;
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            received.push_back({message, wParam, reinterpret_cast<LPARAM>(header->hwndFrom), header->code});
            break;
        }
        default:
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class DialogPiecesTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        ASSERT_TRUE(form.CreateEx(0, nullptr, "Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 600,
                                  400, nullptr, nullptr));
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        if (form.GetSafeHwnd())
            form.DestroyWindow();
        BitmapTest::TearDown();
    }
    // Clicks a window's client point, one click of its own.
    static void ClickAt(CWnd& wnd, int x, int y)
    {
        ui::AdvanceClock(1000);
        CPoint p(x, y);
        wnd.ClientToScreen(&p);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }
    static CString TextOf(CWnd& wnd)
    {
        CString text;
        wnd.GetWindowText(text);
        return text;
    }

    CRecordingForm form;
};
