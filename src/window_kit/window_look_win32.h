// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <span>
#include <string_view>
#include <vector>

#include "window_kit/layout_schema.h"

namespace zelvorn {

// The resource number of the program's icon (app/zelvorn.rc).
inline constexpr int kIconResource = 1;

// A fixed-size top-level window built from a layout table with the standard
// controls: BUTTON (push button, check box, BS_GROUPBOX frame), EDIT, LISTBOX
// and STATIC, placed by their twips at the monitor's DPI in the classic dialog
// font, and placed again when the window moves to a monitor of another DPI.
// The keyboard works as in a dialog (access keys, Tab) through RunMessageLoop.
class ClassicWindow {
public:
    ClassicWindow(const ClassicWindow&) = delete;
    ClassicWindow& operator=(const ClassicWindow&) = delete;
    // Destroys the window if it is still there.
    virtual ~ClassicWindow();

    // The window; null once it has been destroyed.
    HWND hwnd() const { return m_hwnd; }

protected:
    ClassicWindow() = default;

    // A line of a layout table and the member that receives its control.
    struct Binding {
        const ControlLayout& layout;
        HWND& control;
    };

    // Creates the window, hidden, where the system places new windows, with no
    // owner, and then its controls in tab order: frames take no focus and lie
    // beneath every other control. The first control in tab order starts with
    // the keyboard focus. Access keys and focus rectangles show as the system's
    // keyboard cues setting says.
    //
    // Screen readers name a field or list by the static text just before it
    // in z-order, so each named one gets a label of no size there (statics
    // take no focus, so the tab order stays); a button is named by its
    // caption, so a named one gets its name by dynamic annotation
    // (IAccPropServices) instead.
    void create(const WindowLayout& windowLayout, std::span<const Binding> controls,
                std::span<const AccessibleName> names = {});

    // The control whose layout line is named `name`; null if there is none.
    HWND controlNamed(std::string_view name) const;

    // The control that has the keyboard focus, or gets it when the window is
    // next activated; focusControl moves it there.
    HWND focusedControl() const;
    void focusControl(HWND control);

    // A control's notification: BN_CLICKED, EN_CHANGE, ...
    virtual void onCommand(HWND control, int code) = 0;
    // The close box; by default the window is destroyed.
    virtual void onClose();
    // Files dropped onto a window that accepts them (WS_EX_ACCEPTFILES, as
    // DragAcceptFiles sets it); the drop is released afterwards.
    virtual void onDropFiles(HDROP drop);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void layout(UINT dpi);

    struct Placed {
        HWND hwnd;
        const ControlLayout* layout;
    };
    HWND m_hwnd = nullptr;
    const WindowLayout* m_windowLayout = nullptr;
    std::vector<Placed> m_controls;
    HFONT m_font = nullptr;
    HWND m_toolTips = nullptr;
    HWND m_focus = nullptr;  // the control that had the focus when the window was left
};

// Runs the program's message loop until WM_QUIT and returns its exit code.
// Keys go through IsDialogMessageW of their window first, for access keys and
// Tab; an access key of a disabled control does nothing.
int RunMessageLoop();

// Ends the message loop when none of the program's windows is shown any more.
void QuitWhenNoWindowShown();

}  // namespace zelvorn
