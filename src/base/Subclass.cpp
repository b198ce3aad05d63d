// The records of control subclasses: one per subclass procedure and control, chained from the control's user
// data, most recent first. All on the one UI thread.
#include "base/Subclass.h"

#include "base/CallbackGuard.h"

namespace {
struct Layer {
    WNDPROC entry;
    WNDPROC previous;
    ErrorReporter* errors;
    void* data;
    bool removed;
    Layer* next;
};

Layer* First(HWND control)
{
    return reinterpret_cast<Layer*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

Layer* Find(HWND control, WNDPROC entry)
{
    for (Layer* layer = First(control); layer; layer = layer->next) {
        if (layer->entry == entry) {
            return layer;
        }
    }
    return nullptr;
}

WNDPROC CurrentProc(HWND control)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
}

// Gives the control the procedure behind the layer back if the layer is in front, and drops the record.
void Detach(HWND control, Layer* layer)
{
    if (CurrentProc(control) == layer->entry) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(layer->previous));
    }
    Layer* first = First(control);
    if (first == layer) {
        SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(layer->next));
    } else {
        for (Layer* above = first; above; above = above->next) {
            if (above->next == layer) {
                above->next = layer->next;
                break;
            }
        }
    }
    delete layer;
}
} // namespace

namespace subclass_detail {
void Add(HWND control, WNDPROC entry, ErrorReporter& errors, void* data)
{
    if (Layer* layer = Find(control, entry)) {
        layer->errors = &errors;
        layer->data = data;
        layer->removed = false;
        return;
    }
    auto* layer = new Layer{entry, CurrentProc(control), &errors, data, false, First(control)};
    // The record is in place before the first message can reach the new procedure.
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(layer));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry));
}

void Remove(HWND control, WNDPROC entry)
{
    Layer* layer = Find(control, entry);
    if (!layer || layer->removed) {
        return;
    }
    if (CurrentProc(control) == entry) {
        Detach(control, layer);
    } else {
        // Another procedure in front calls ours; it stays in the chain, passing everything on.
        layer->removed = true;
        layer->data = nullptr;
    }
}

LRESULT Dispatch(SubclassProc proc, WNDPROC entry, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const Layer* layer = Find(hwnd, entry);
    if (!layer) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    // A copy: the procedure may remove itself, or destroy the control, while it handles the message.
    const SubclassLink link{layer->previous, layer->data};
    const bool removed = layer->removed;
    const auto handle = [&] {
        return removed ? link.Pass(hwnd, msg, wParam, lParam) : proc(hwnd, msg, wParam, lParam, link);
    };
    const LRESULT result = GuardCallback(*layer->errors, handle, LRESULT{0});
    if (msg == WM_NCDESTROY) {
        if (Layer* gone = Find(hwnd, entry)) {
            Detach(hwnd, gone);
        }
    }
    return result;
}
} // namespace subclass_detail
