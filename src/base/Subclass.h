// Subclassing of standard controls: a procedure put in front of a control's window procedure, with one pointer
// of data, passing on what it does not handle; taken off again on removal or at the control's end.
#pragma once

#include <windows.h>

#include "base/AppError.h"

// What a subclass procedure gets with each message: its data and the way on to the procedure behind it.
struct SubclassLink {
    WNDPROC previous;
    void* data;

    template <class T> T* Data() const { return static_cast<T*>(data); }
    LRESULT Pass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const
    {
        return CallWindowProcW(previous, hwnd, msg, wParam, lParam);
    }
};

using SubclassProc = LRESULT (*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link);

namespace subclass_detail {
void Add(HWND control, WNDPROC entry, ErrorReporter& errors, void* data);
void Remove(HWND control, WNDPROC entry);
LRESULT Dispatch(SubclassProc proc, WNDPROC entry, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// One window procedure per subclass procedure: its address tells the subclasses of one control apart, also
// when someone else's subclass stands between them.
template <SubclassProc Proc> LRESULT CALLBACK Entry(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(Proc, &Entry<Proc>, hwnd, msg, wParam, lParam);
}
} // namespace subclass_detail

// Puts Proc in front of the control's window procedure; the control's user data holds the record, so that no
// message pays for a window property (comctl32's SetWindowSubclass keeps its chain in one, and under Wine
// every look-up is a round trip to the window server). Putting the same Proc on again only replaces its data
// (and takes it up again after a removal). Proc sees WM_NCDESTROY and must pass it on; the record then goes.
// What Proc throws is reported to errors (CallbackGuard.h) and the message answered with 0.
template <SubclassProc Proc> void AddSubclass(HWND control, ErrorReporter& errors, void* data = nullptr)
{
    subclass_detail::Add(control, &subclass_detail::Entry<Proc>, errors, data);
}

// Takes Proc off: the control gets its previous procedure back, or, when another subclass was put in front
// since, Proc is never called again and its place in the chain passes every message on.
template <SubclassProc Proc> void RemoveSubclass(HWND control)
{
    subclass_detail::Remove(control, &subclass_detail::Entry<Proc>);
}
