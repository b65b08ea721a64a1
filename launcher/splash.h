// The splash window: the splash picture with the version line and a notice,
// centred and topmost, for four seconds.
//
// registerSplashClass names the module that supplies the picture and the
// texts (a language library or the program itself; a text the library lacks
// comes from the program). create shows the window; when its timer fires it
// destroys itself and posts WM_QUIT (0), which ends the launcher's message
// loop. A window that cannot be made posts WM_QUIT at once, so the loop
// never waits for a window that does not exist.
#pragma once

#include <string>

#include "platform/win32.h"

constexpr UINT_PTR kSplashTimerId = 3215;
constexpr int kSplashBitmapId = 107;
constexpr UINT kVersionStringId = 115;
constexpr UINT kNoticeStringId = 118;

class SplashScreen {
public:
    SplashScreen() = default;
    // Releases what is left, at process exit for the global.
    ~SplashScreen();
    SplashScreen(const SplashScreen&) = delete;
    SplashScreen& operator=(const SplashScreen&) = delete;

    void create(int bitmapId);
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Deletes the bitmap and the fonts that are left.
    void release();

    std::string versionText;
    HWND window() const { return m_window; }
    const BITMAP& bitmapInfo() const { return m_bitmapInfo; }

private:
    void onCreate(HWND window);
    void onDestroy();
    void onPaint();
    void onTimer(WPARAM id);
    void drawTexts(class Canvas& canvas, int offset);

    HWND m_window = nullptr;
    HBITMAP m_bitmap = nullptr;
    BITMAP m_bitmapInfo{};
    HFONT m_fonts[5] = {};
    int m_fontHeights[5] = {};
    int m_fontWeights[5] = {};
    int m_versionX = 0;
    int m_noticeX = 0;
    int m_versionY = 0;
    int m_noticeY = 0;
    int m_timerPeriod = 0;
};

extern SplashScreen splashScreen;

// Remembers the resource module and registers the window class
// QZ_SplashScreen; answers whether the class could be registered.
bool registerSplashClass(HINSTANCE resourceModule);
LRESULT CALLBACK splashWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
