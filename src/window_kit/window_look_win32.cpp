// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_kit/window_look_win32.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "window_kit/system_library_win32.h"
#include "window_kit/text_win32.h"

namespace zelvorn {

namespace {

constexpr wchar_t kClassName[] = L"ZelvornClassicWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Control numbers stay clear of IDOK and IDCANCEL, which Enter and Esc send.
constexpr int kFirstControlId = 100;

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

// The per-monitor DPI functions came with Windows 10; older systems have one
// DPI for every monitor.
template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT DpiOf(HWND window) {
    static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow) return getDpiForWindow(window);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void AdjustForDpi(RECT& rect, UINT dpi) {
    static const auto adjust =
        User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjust) {
        adjust(&rect, kWindowStyle, FALSE, 0, dpi);
    } else {
        AdjustWindowRectEx(&rect, kWindowStyle, FALSE, 0);
    }
}

HFONT FontAt(const wchar_t* face, UINT dpi) {
    return CreateFontW(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// The classic dialog font, MS Sans Serif at 8 points, at `dpi`: its TrueType
// twin Microsoft Sans Serif where the system has it, so it scales smoothly,
// else the font itself. The captions are sized for its narrow letters; the
// newer dialog font, Tahoma, would not fit them.
HFONT ClassicFont(UINT dpi) {
    static const bool hasTrueType = [] {
        const HFONT probe = FontAt(L"Microsoft Sans Serif", 96);
        const HDC screen = GetDC(nullptr);
        const HGDIOBJ previous = SelectObject(screen, probe);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(screen, LF_FACESIZE, face);
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
        DeleteObject(probe);
        return std::wstring_view(face) == L"Microsoft Sans Serif";
    }();
    return FontAt(hasTrueType ? L"Microsoft Sans Serif" : L"MS Sans Serif", dpi);
}

void RegisterClassOnce(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = Instance();
        windowClass.hIcon = static_cast<HICON>(LoadImageW(
            Instance(), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(Instance(), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass);
    }();
    (void)atom;
}

bool IsClassicWindow(HWND window) {
    wchar_t name[std::size(kClassName) + 1] = {};
    return GetClassNameW(window, name, static_cast<int>(std::size(name))) > 0 &&
           std::wstring_view(name) == kClassName;
}

HWND CreateControl(HWND parent, const ControlLayout& layout, int id) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    // Each focusable control is a group of its own, so arrow keys stay in it.
    constexpr DWORD kFocusable = WS_TABSTOP | WS_GROUP;
    switch (layout.kind) {
        case ControlKind::Button:
            style |= BS_PUSHBUTTON | BS_MULTILINE | kFocusable;
            break;
        case ControlKind::CheckBox:
            style |= BS_AUTOCHECKBOX | BS_MULTILINE | kFocusable;
            break;
        case ControlKind::Frame:
            style |= BS_GROUPBOX;
            break;
        case ControlKind::TextField:
            windowClass = L"EDIT";
            style |= ES_AUTOHSCROLL | kFocusable;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::List:
            windowClass = L"LISTBOX";
            style |= LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | kFocusable;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Label:
            windowClass = L"STATIC";
            style |= SS_LEFT;
            break;
        case ControlKind::Note:
            windowClass = L"EDIT";
            style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | kFocusable;
            break;
    }
    const std::u16string caption(layout.caption);
    const HWND control =
        CreateWindowExW(exStyle, windowClass, WideOf(caption), style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    // A path field takes any length, not the 32,767 characters of a new field.
    if (layout.kind == ControlKind::TextField) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    return control;
}

// Names `control` for screen readers through dynamic annotation, which oleacc
// has offered since Windows XP. Without it the caption stays the name.
void AnnotateName(HWND control, std::u16string_view name) {
    // One service for the run: the annotated controls live as long as the program.
    static IAccPropServices* const services = [] {
        IAccPropServices* created = nullptr;
        const auto initialize =
            SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        const auto create =
            SystemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
        if (initialize && create &&
            SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
            create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                   reinterpret_cast<void**>(&created));
        }
        return created;
    }();
    if (!services) return;
    const std::wstring text(WideOf(name));
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_NAME, text.c_str());
}

BOOL CALLBACK FindShownWindow(HWND window, LPARAM found) {
    if (IsClassicWindow(window) && IsWindowVisible(window)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ClassicWindow::~ClassicWindow() {
    if (m_hwnd) {
        // No handler of a half-destroyed object may run while the window goes.
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    if (m_font) DeleteObject(m_font);
}

void ClassicWindow::create(const WindowLayout& windowLayout, std::span<const Binding> controls,
                           std::span<const AccessibleName> names) {
    RegisterClassOnce(&Procedure);
    m_windowLayout = &windowLayout;
    const std::u16string caption(windowLayout.caption);
    CreateWindowExW(0, kClassName, WideOf(caption), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, Instance(), this);

    // Windows walks Tab and access keys in creation order.
    std::vector<const Binding*> byTab;
    for (const Binding& binding : controls) byTab.push_back(&binding);
    std::stable_sort(byTab.begin(), byTab.end(), [](const Binding* a, const Binding* b) {
        return a->layout.tabIndex < b->layout.tabIndex;
    });
    for (const Binding* binding : byTab) {
        const ControlKind kind = binding->layout.kind;
        const auto named = std::find_if(names.begin(), names.end(), [&](const AccessibleName& n) {
            return n.control == binding->layout.name;
        });
        const bool captioned = kind == ControlKind::Button || kind == ControlKind::CheckBox;
        if (named != names.end() && !captioned) {
            const std::wstring label(WideOf(named->name));
            CreateWindowExW(0, L"STATIC", label.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0,
                            0, 0, m_hwnd, nullptr, Instance(), nullptr);
        }
        binding->control = CreateControl(m_hwnd, binding->layout,
                                         kFirstControlId + static_cast<int>(m_controls.size()));
        if (named != names.end() && captioned) AnnotateName(binding->control, named->name);
        m_controls.push_back({binding->control, &binding->layout});
        if (!m_focus && kind != ControlKind::Frame && kind != ControlKind::Label) {
            m_focus = binding->control;
        }
    }
    // Frames are no tab stops, so moving them down changes no keyboard order.
    for (const Placed& placed : m_controls) {
        if (placed.layout->kind == ControlKind::Frame) {
            SetWindowPos(placed.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    for (const Placed& placed : m_controls) {
        if (placed.layout->toolTip.empty()) continue;
        if (!m_toolTips) {
            m_toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd,
                                         nullptr, Instance(), nullptr);
        }
        std::u16string text(placed.layout->toolTip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(placed.hwnd);
        tool.lpszText = reinterpret_cast<wchar_t*>(text.data());
        SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    layout(DpiOf(m_hwnd));
    // A plain window shows access keys and focus rectangles from the start;
    // a dialog hides them until Alt or Tab is pressed, if the system's setting
    // says so. This asks for the dialog's behaviour.
    SendMessageW(m_hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
}

HWND ClassicWindow::controlNamed(std::string_view name) const {
    for (const Placed& placed : m_controls) {
        if (placed.layout->name == name) return placed.hwnd;
    }
    return nullptr;
}

HWND ClassicWindow::focusedControl() const {
    const HWND focus = GetFocus();
    return focus && IsChild(m_hwnd, focus) ? focus : m_focus;
}

void ClassicWindow::focusControl(HWND control) {
    m_focus = control;
    if (GetActiveWindow() == m_hwnd) SetFocus(control);
}

void ClassicWindow::layout(UINT dpi) {
    const HFONT font = ClassicFont(dpi);
    for (const Placed& placed : m_controls) {
        // A control inside a frame is placed relative to the frame.
        TwipsRect rect = placed.layout->rect;
        for (const Placed& container : m_controls) {
            if (container.layout->name == placed.layout->container) {
                rect.left += container.layout->rect.left;
                rect.top += container.layout->rect.top;
            }
        }
        const PixelRect pixels = TwipsToPixels(rect, dpi);
        SetWindowPos(placed.hwnd, nullptr, pixels.x, pixels.y, pixels.width, pixels.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(placed.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (m_font) DeleteObject(m_font);
    m_font = font;
    RECT frame{0, 0, TwipsToPixels(m_windowLayout->clientWidth, dpi),
               TwipsToPixels(m_windowLayout->clientHeight, dpi)};
    AdjustForDpi(frame, dpi);
    SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ClassicWindow::onClose() {
    DestroyWindow(m_hwnd);
    QuitWhenNoWindowShown();
}

void ClassicWindow::onDropFiles(HDROP) {}

LRESULT CALLBACK ClassicWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<ClassicWindow*>(created->lpCreateParams);
        self->m_hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ClassicWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        self->m_controls.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT ClassicWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            // A plain window forgets its focused control when it is left;
            // keep it, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(m_hwnd, focus)) m_focus = focus;
            } else if (m_focus && IsWindow(m_focus)) {
                SetFocus(m_focus);
                return 0;
            }
            break;
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_DROPFILES: {
            const auto drop = reinterpret_cast<HDROP>(wParam);
            onDropFiles(drop);
            // shell32 is loaded only now: the window does not need it to start.
            static const auto finish =
                SystemFunction<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
            if (finish) finish(drop);
            return 0;
        }
        case WM_DPICHANGED: {
            layout(HIWORD(wParam));
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

int RunMessageLoop() {
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && IsClassicWindow(root) && IsDialogMessageW(root, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void QuitWhenNoWindowShown() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), FindShownWindow, reinterpret_cast<LPARAM>(&found));
    if (!found) PostQuitMessage(0);
}

}  // namespace zelvorn
