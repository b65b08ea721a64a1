#include "launcher/messageloop.h"

int runMessageLoop(HWND window) {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageA(&message, window, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return -1;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
