#include "launcher/splash.h"

#include "launcher/canvas.h"
#include "launcher/resourcetext.h"

namespace {

constexpr char kClassName[] = "QZ_SplashScreen";
constexpr char kTitle[] = "Quillory";
constexpr char kFaceName[] = "Arial";
constexpr int kFontHeights[5] = {17, 34, 60, 15, 25};
constexpr int kFontWeights[5] = {400, 700, 700, 400, 700};
constexpr int kVersionFont = 1;
constexpr int kNoticeFont = 3;

HINSTANCE resourceModule;

}  // namespace

SplashScreen splashScreen;

// A function given to atexit while the global was still being made would
// run only after its destructor, on an object that is gone.
SplashScreen::~SplashScreen() { release(); }

bool registerSplashClass(HINSTANCE module) {
    resourceModule = module;
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = splashWndProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_MENU + 1));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

LRESULT CALLBACK splashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return splashScreen.handleMessage(window, message, wParam, lParam);
}

void SplashScreen::create(int bitmapId) {
    m_timerPeriod = 4000;
    for (int i = 0; i < 5; ++i) {
        m_fontHeights[i] = kFontHeights[i];
        m_fontWeights[i] = kFontWeights[i];
    }
    m_versionX = 400;
    m_noticeX = 430;
    m_versionY = 150;
    m_noticeY = 315;

    m_bitmap = static_cast<HBITMAP>(LoadImageA(resourceModule,
                                               MAKEINTRESOURCEA(static_cast<ULONG_PTR>(bitmapId)),
                                               IMAGE_BITMAP, 0, 0,
                                               LR_SHARED | LR_CREATEDIBSECTION));
    m_bitmapInfo = BITMAP{};
    if (m_bitmap != nullptr) GetObjectA(m_bitmap, sizeof m_bitmapInfo, &m_bitmapInfo);

    // WM_CREATE sets it; a window that cannot be made leaves none.
    m_window = nullptr;
    HWND window = CreateWindowExA(WS_EX_STATICEDGE, kClassName, kTitle, WS_POPUP | WS_DLGFRAME,
                                  0, 0, m_bitmapInfo.bmWidth, m_bitmapInfo.bmHeight, nullptr,
                                  nullptr, resourceModule, nullptr);
    if (window == nullptr) {
        // Nothing will ever post the quit message the launcher waits for.
        PostQuitMessage(0);
        return;
    }

    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE);

    for (int i = 0; i < 5; ++i) {
        m_fonts[i] = CreateFontA(m_fontHeights[i], 0, 0, 0, m_fontWeights[i], FALSE, FALSE, FALSE,
                                 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 32,
                                 kFaceName);
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

LRESULT SplashScreen::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: onCreate(window); return 0;
        case WM_DESTROY: onDestroy(); return 0;
        case WM_PAINT: onPaint(); return 0;
        case WM_TIMER: onTimer(wParam); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void SplashScreen::release() {
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    for (HFONT& font : m_fonts) {
        if (font != nullptr) DeleteObject(font);
        font = nullptr;
    }
}

void SplashScreen::onCreate(HWND window) {
    m_window = window;
    SetTimer(window, kSplashTimerId, static_cast<UINT>(m_timerPeriod), nullptr);
}

void SplashScreen::onDestroy() {
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    PostQuitMessage(0);
}

void SplashScreen::onTimer(WPARAM id) {
    if (id != kSplashTimerId) return;
    DestroyWindow(m_window);
    KillTimer(m_window, kSplashTimerId);
}

void SplashScreen::onPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(m_window, &paint);
    if (m_bitmap != nullptr) GetObjectA(m_bitmap, sizeof m_bitmapInfo, &m_bitmapInfo);
    RECT client{};
    GetClientRect(m_window, &client);
    if (m_bitmap != nullptr) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, m_bitmap);
        if (GetStretchBltMode(dc) != HALFTONE) {
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
        }
        StretchBlt(dc, 0, 0, client.right - client.left, client.bottom - client.top, memory, 0, 0,
                   m_bitmapInfo.bmWidth, m_bitmapInfo.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    {
        // Closed before EndPaint: it puts the context's objects back.
        Canvas canvas(dc, client);
        const int darkGrey = canvasIndex.darkGrey;
        canvas.setTextColor(darkGrey - static_cast<int>(darkGrey * 0.8));
        drawTexts(canvas, 2);
        canvas.setTextColor(darkGrey);
        drawTexts(canvas, 0);
    }
    EndPaint(m_window, &paint);
}

void SplashScreen::drawTexts(Canvas& canvas, int offset) {
    canvas.selectFont(m_fonts[kVersionFont]);
    const std::string version =
        formatVersionLine(loadString(resourceModule, kVersionStringId), versionText);
    canvas.textOut(m_versionX + offset, m_versionY + offset, "%s", version.c_str());
    canvas.selectFont(m_fonts[kNoticeFont]);
    const std::string notice = loadString(resourceModule, kNoticeStringId);
    canvas.textOut(m_noticeX + offset, m_noticeY + offset, "%s", notice.c_str());
}
