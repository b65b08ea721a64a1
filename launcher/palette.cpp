#include "launcher/palette.h"

COLORREF CanvasPalette[kPaletteSize];
CanvasPaletteIndices canvasIndex;

namespace {

HBRUSH brushes[kPaletteSize];
HFONT defaultFont;
// Static, so that a pen costs nothing until it is first drawn with.
HPEN penCache[kPenWidths * kPaletteSize];

// How many system colours this Windows version knows.
int systemColorCount() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return 21;
    if (version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion > 0))
        return 31;
    if (version.dwMajorVersion == 5) return 29;
    if (version.dwMajorVersion == 4) return 25;
    return 21;
}

// Appends one ramp of count entries, v = 255 - 4k, and answers its first index.
template <typename Colour>
int addRamp(int& next, int count, Colour colour) {
    const int first = next;
    for (int k = 0; k < count && next < kPaletteSize; ++k) {
        const int v = 255 - 4 * k;
        CanvasPalette[next++] = colour(v);
    }
    return first;
}

BYTE asByte(int v) { return static_cast<BYTE>(v); }

}  // namespace

void buildPalette() {
    for (COLORREF& entry : CanvasPalette) entry = 0;
    int next = 0;
    canvasIndex.grey = addRamp(next, 64, [](int v) { return RGB(asByte(v), asByte(v), asByte(v)); });
    canvasIndex.darkGrey = next - 1;
    canvasIndex.magenta = addRamp(next, 32, [](int v) { return RGB(asByte(v), 0, asByte(v)); });
    canvasIndex.red = addRamp(next, 32, [](int v) { return RGB(asByte(v), 0, 0); });
    canvasIndex.orange = addRamp(next, 32, [](int v) { return RGB(asByte(v), asByte(v / 2), 0); });
    canvasIndex.orange157 = next - 3;
    canvasIndex.yellow = addRamp(next, 32, [](int v) { return RGB(asByte(v), asByte(v), 0); });
    canvasIndex.green = addRamp(next, 32, [](int v) { return RGB(0, asByte(v), 0); });
    canvasIndex.cyan = addRamp(next, 32, [](int v) { return RGB(0, asByte(v), asByte(v)); });
    canvasIndex.blue = addRamp(next, 32, [](int v) { return RGB(0, 0, asByte(v)); });

    canvasIndex.system = next;
    const int count = systemColorCount();
    for (int id = 0; id < count && next < kPaletteSize; ++id, ++next) {
        CanvasPalette[next] = GetSysColor(id);
        switch (id) {
            case COLOR_BACKGROUND: canvasIndex.background = next; break;
            case COLOR_MENU: canvasIndex.menu = next; break;
            case COLOR_WINDOW: canvasIndex.window = next; break;
            case COLOR_WINDOWTEXT: canvasIndex.windowText = next; break;
            case COLOR_APPWORKSPACE: canvasIndex.appWorkspace = next; break;
            case COLOR_HIGHLIGHT: canvasIndex.highlight = next; break;
            case COLOR_HIGHLIGHTTEXT: canvasIndex.highlightText = next; break;
            case COLOR_BTNFACE: canvasIndex.btnFace = next; break;
            case COLOR_3DLIGHT: canvasIndex.light3d = next; break;
            case COLOR_INFOTEXT: canvasIndex.infoText = next; break;
            case COLOR_INFOBK: canvasIndex.infoBk = next; break;
            default: break;
        }
    }
}

int canvasInit() {
    buildPalette();
    defaultFont = CreateFontA(16, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 32, nullptr);
    for (int index = 0; index < kPaletteSize; ++index)
        brushes[index] = CreateSolidBrush(CanvasPalette[index]);
    for (HPEN& pen : penCache) pen = nullptr;
    return 1;
}

int canvasRelease() {
    if (defaultFont != nullptr) DeleteObject(defaultFont);
    defaultFont = nullptr;
    for (HBRUSH& brush : brushes) {
        if (brush != nullptr) DeleteObject(brush);
        brush = nullptr;
    }
    for (HPEN& pen : penCache) {
        if (pen != nullptr) DeleteObject(pen);
        pen = nullptr;
    }
    return 1;
}

bool canvasValidIndex(int index) { return index >= 0 && index < kPaletteSize; }

HBRUSH canvasBrush(int index) { return canvasValidIndex(index) ? brushes[index] : nullptr; }

HPEN canvasPen(int width, int index) {
    if (!canvasValidIndex(index)) return nullptr;
    if (width >= kPenWidths) width = kPenWidths - 1;
    if (width < 0) width = 0;
    HPEN& pen = penCache[width * kPaletteSize + index];
    if (pen == nullptr) pen = CreatePen(PS_SOLID, width, CanvasPalette[index]);
    return pen;
}

HFONT canvasDefaultFont() { return defaultFont; }
