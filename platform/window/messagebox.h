// Message boxes.
//
// With a display (DISPLAY names an X server that opens) a message box is a
// real dialog that waits for its answer (see messageboxdialog.h).
// Without a display (no DISPLAY, or none that opens) a message box is not
// shown: its caption and text go to standard error as UTF-8 and it answers
// OK (or the first button of its set) at once, so that a program on a server
// never waits for a click that cannot come. Where DISPLAY names a display
// that does not open within about a second, or whose server goes away
// before the box is answered, a line "cannot reach display "NAME"" comes
// first.
#pragma once

#include "platform/core/types.h"

// Buttons.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
// Icons.
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
// Modality and placement.
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// A null text or caption shows as empty, a null caption as "Error".
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// The desktop: a window that always exists and owns nothing.
HWND GetDesktopWindow();
