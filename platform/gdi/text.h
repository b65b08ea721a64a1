// Fonts and text (GDI on Cairo, faces chosen by fontconfig).
//
// A face name is looked up through fontconfig, so "Arial" draws with its
// metric-compatible face (Liberation Sans) and an empty name with the same.
// Heights follow Windows: a positive height is the cell height (ascent plus
// descent), a negative one the character height (the em). Narrow text is in
// code page 1252.
#pragma once

#include "platform/gdi/dc.h"

constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD DEFAULT_CHARSET = 1;
constexpr DWORD OUT_DEFAULT_PRECIS = 0;
constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
constexpr DWORD DEFAULT_QUALITY = 0;
constexpr DWORD ANTIALIASED_QUALITY = 4;
constexpr DWORD DEFAULT_PITCH = 0;
constexpr DWORD VARIABLE_PITCH = 2;
constexpr DWORD FF_DONTCARE = 0x00;
constexpr DWORD FF_ROMAN = 0x10;
constexpr DWORD FF_SWISS = 0x20;

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCSTR faceName);

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
// Metrics of the selected font. tmAveCharWidth is the mean advance of the
// 52 Latin letters.
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);

struct SIZE {
    LONG cx;
    LONG cy;
};
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size);

// Text alignment: the reference point of TextOutA.
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

// One line at (x, y), in the text colour; with OPAQUE the text's cell is
// filled with the background colour first.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);

// DrawTextA formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
// Text in a rectangle: lines break at "\n" (or "\r\n") unless
// DT_SINGLELINE; with DT_WORDBREAK also between words where a line would
// pass the right edge (a word longer than the width stays whole). "&" marks
// a mnemonic and is not drawn ("&&" draws one) unless DT_NOPREFIX. Clipped
// to the rectangle unless DT_NOCLIP. DT_CALCRECT draws nothing and sets the
// rectangle's right and bottom to the text's extent. A length of -1 means
// up to the terminator. Answers the text's height (0 on failure).
int DrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
