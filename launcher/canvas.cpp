#include "launcher/canvas.h"

#include <algorithm>
#include <string>

#include "common/strings.h"

namespace {

int textLength(const std::string& text) { return static_cast<int>(text.size()); }

}  // namespace

Canvas::Canvas(HDC dc, const RECT& rect)
    : m_dc(dc), m_left(rect.left), m_top(rect.top), m_right(rect.right), m_bottom(rect.bottom) {
    m_savedPen = GetCurrentObject(m_dc, OBJ_PEN);
    m_savedBrush = GetCurrentObject(m_dc, OBJ_BRUSH);
    m_savedFont = GetCurrentObject(m_dc, OBJ_FONT);
    m_savedTextColor = GetTextColor(m_dc);
    m_savedBkColor = GetBkColor(m_dc);
    setTextColor(-1);
    setBkColor(-1);
    selectFont(nullptr);
    resetClip();
    setBkModeTransparent();
    resetTextAlign();
}

Canvas::Canvas(const Canvas& parent, int left, int top, int right, int bottom)
    : m_savedBrush(parent.m_savedBrush),
      m_savedPen(parent.m_savedPen),
      m_savedFont(parent.m_savedFont),
      m_dc(parent.m_dc),
      m_left(left >= 0 ? left : parent.m_left),
      m_top(top >= 0 ? top : parent.m_top),
      m_right(right >= 0 ? right : parent.m_right),
      m_bottom(bottom >= 0 ? bottom : parent.m_bottom),
      m_lineHeight(parent.m_lineHeight),
      m_averageCharWidth(parent.m_averageCharWidth),
      m_textColor(parent.m_textColor),
      m_bkColor(parent.m_bkColor),
      m_opaque(parent.m_opaque),
      m_extraFormat(parent.m_extraFormat) {
    m_savedTextColor = GetTextColor(m_dc);
    m_savedBkColor = GetBkColor(m_dc);
    resetClip();
}

Canvas::~Canvas() {
    restore();
    if (m_clip != nullptr) DeleteObject(m_clip);
}

void Canvas::restore() {
    SelectObject(m_dc, m_savedFont);
    SelectObject(m_dc, m_savedPen);
    SelectObject(m_dc, m_savedBrush);
    SetTextColor(m_dc, m_savedTextColor);
    SetBkColor(m_dc, m_savedBkColor);
}

void Canvas::readMetrics() {
    TEXTMETRICA metrics{};
    if (GetTextMetricsA(m_dc, &metrics)) {
        m_lineHeight = metrics.tmHeight;
        m_averageCharWidth = metrics.tmAveCharWidth;
    }
}

void Canvas::resetClip() {
    if (m_clip != nullptr) DeleteObject(m_clip);
    m_clip = CreateRectRgn(m_left, m_top, m_right + 1, m_bottom + 1);
}

void Canvas::clip() { SelectClipRgn(m_dc, m_clip); }

void Canvas::cutOut(HRGN shape) {
    if (shape == nullptr) return;
    CombineRgn(m_clip, m_clip, shape, RGN_DIFF);
    DeleteObject(shape);
}

HFONT Canvas::selectFont(HFONT font) {
    clip();
    HGDIOBJ previous = SelectObject(m_dc, font != nullptr ? font : canvasDefaultFont());
    readMetrics();
    return static_cast<HFONT>(previous);
}

void Canvas::setClipLeft(int left) {
    m_left = left;
    resetClip();
}

void Canvas::setClipTop(int top) {
    m_top = top;
    resetClip();
}

void Canvas::setClipRight(int right) {
    m_right = right;
    resetClip();
}

void Canvas::setClipBottom(int bottom) {
    m_bottom = bottom;
    resetClip();
}

HPEN Canvas::selectPen(int index, int width) {
    clip();
    HPEN pen = canvasPen(width, index);
    if (pen == nullptr) return static_cast<HPEN>(GetCurrentObject(m_dc, OBJ_PEN));
    return static_cast<HPEN>(SelectObject(m_dc, pen));
}

void Canvas::selectBrush(int index) {
    clip();
    if (HBRUSH brush = canvasBrush(index)) SelectObject(m_dc, brush);
}

int Canvas::moveTo(int x, int y, int index, int radius) {
    clip();
    if (!PtVisible(m_dc, x, y)) return 0;
    MoveToEx(m_dc, x, y, nullptr);
    fillEllipse(x, y, radius, index, false, false);
    return 1;
}

COLORREF Canvas::setPixel(int x, int y, int index) {
    if (!canvasValidIndex(index)) return CLR_INVALID;
    return setPixel(x, y, CanvasPalette[index]);
}

COLORREF Canvas::setPixel(int x, int y, COLORREF color) {
    clip();
    return SetPixel(m_dc, x, y, color);
}

void Canvas::lineTo(int x, int y, int index, int width) {
    if (!canvasValidIndex(index)) return;
    selectPen(index, width);
    LineTo(m_dc, x, y);
}

void Canvas::drawLine(int x1, int y1, int x2, int y2, int index, int width) {
    if (!canvasValidIndex(index)) return;
    selectPen(index, width);
    MoveToEx(m_dc, x1, y1, nullptr);
    LineTo(m_dc, x2, y2);
}

void Canvas::drawHLine(int x1, int x2, int y, int index, int width) {
    drawLine(x1, y, x2, y, index, width);
}

void Canvas::drawVLine(int x, int y1, int y2, int index, int width) {
    drawLine(x, y1, x, y2, index, width);
}

int Canvas::drawRectangle(int left, int top, int right, int bottom, int index, int width) {
    clip();
    const RECT rect{left, top, right, bottom};
    if (!RectVisible(m_dc, &rect) || !canvasValidIndex(index)) return 0;
    selectPen(index, width);
    MoveToEx(m_dc, left, top, nullptr);
    LineTo(m_dc, left, bottom);
    LineTo(m_dc, right, bottom);
    LineTo(m_dc, right, top);
    LineTo(m_dc, left, top);
    return 1;
}

int Canvas::drawRectangle(const RECT& rect, int index, int width) {
    return drawRectangle(rect.left, rect.top, rect.right, rect.bottom, index, width);
}

void Canvas::drawArc(int x, int y, int radius, int index, int width) {
    if (!canvasValidIndex(index)) return;
    selectPen(index, width);
    Arc(m_dc, x - radius, y - radius, x + radius, y + radius, x - radius, y - radius, x - radius,
        y - radius);
}

void Canvas::drawArc(const RECT& rect, int index, int width) {
    const int radius = std::min(rect.right - rect.left, rect.bottom - rect.top) / 2;
    drawArc(rect.left + radius, rect.top + radius, radius, index, width);
}

void Canvas::drawPolyline(const POINT* points, int count, int index, int width) {
    if (points == nullptr || count <= 0 || !canvasValidIndex(index)) return;
    selectPen(index, width);
    MoveToEx(m_dc, points[0].x, points[0].y, nullptr);
    for (int i = 1; i < count; ++i) LineTo(m_dc, points[i].x, points[i].y);
    LineTo(m_dc, points[0].x, points[0].y);
}

void Canvas::selectFill(int index, bool outlineDefault) {
    selectBrush(index);
    selectPen(outlineDefault ? canvasIndex.darkGrey : index, 0);
}

void Canvas::fillRectangle(int left, int top, int right, int bottom, int index,
                           bool outlineDefault, bool exclude) {
    if (!canvasValidIndex(index)) return;
    selectFill(index, outlineDefault);
    Rectangle(m_dc, left, top, right, bottom);
    if (exclude) cutOut(CreateRectRgn(left, top, right, bottom));
}

void Canvas::fillRectangle(const RECT& rect, int index, bool outlineDefault, bool exclude) {
    fillRectangle(rect.left, rect.top, rect.right, rect.bottom, index, outlineDefault, exclude);
}

void Canvas::fillEllipse(int x, int y, int radius, int index, bool outlineDefault,
                         bool exclude) {
    if (!canvasValidIndex(index)) return;
    selectFill(index, outlineDefault);
    Ellipse(m_dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
    if (exclude) cutOut(CreateEllipticRgn(x - radius, y - radius, x + radius, y + radius));
}

void Canvas::fillEllipse(const RECT& rect, int index, bool outlineDefault, bool exclude) {
    const int radius = std::min(rect.right - rect.left, rect.bottom - rect.top) / 2;
    fillEllipse(rect.left + radius, rect.top + radius, radius, index, outlineDefault, exclude);
}

void Canvas::fillPolygon(const POINT* points, int count, int index, bool outlineDefault,
                         bool exclude) {
    if (points == nullptr || count <= 0 || !canvasValidIndex(index)) return;
    selectFill(index, outlineDefault);
    Polygon(m_dc, points, count);
    if (exclude) cutOut(CreatePolygonRgn(points, count, WINDING));
}

void Canvas::drawCheckMark(int left, int top, int right, int bottom, int index, int width) {
    const int cornerX = left + (right - left) / 2 - width;
    const int cornerY = bottom - width;
    drawLine(left - width, bottom - (bottom - top) / 2 - width, cornerX, cornerY, index, width);
    drawLine(right - width, top - width, cornerX, cornerY, index, width);
}

void Canvas::advanceCursor(int n, int& x, int& y) const {
    if (x + 2 * n * m_averageCharWidth > m_right) {
        x = m_left + 1;
        y += m_lineHeight;
    } else {
        x += n * m_averageCharWidth;
    }
}

void Canvas::textOut(int x, int y, const char* format, ...) {
    std::string text;
    va_list args;
    va_start(args, format);
    const bool formatted = formatStringV(text, format, args);
    va_end(args);
    if (!formatted) return;
    clip();
    TextOutA(m_dc, x, y, text.c_str(), textLength(text));
}

void Canvas::drawText(const RECT& rect, bool vCenter, bool hCenter, const char* format, ...) {
    std::string text;
    va_list args;
    va_start(args, format);
    const bool formatted = formatStringV(text, format, args);
    va_end(args);
    if (!formatted) return;
    clip();
    RECT box = rect;
    UINT flags = DT_SINGLELINE | (hCenter ? DT_CENTER : m_extraFormat);
    if (vCenter) flags |= DT_VCENTER;
    DrawTextA(m_dc, text.c_str(), textLength(text), &box, flags);
}

void Canvas::drawText(int left, int top, int right, int bottom, bool vCenter, bool hCenter,
                      const char* format, ...) {
    std::string text;
    va_list args;
    va_start(args, format);
    const bool formatted = formatStringV(text, format, args);
    va_end(args);
    if (formatted) drawText(RECT{left, top, right, bottom}, vCenter, hCenter, "%s", text.c_str());
}

int Canvas::drawTextWrappedV(RECT rect, bool vCenter, bool hCenter, const char* format,
                             va_list args) {
    std::string text;
    if (!formatStringV(text, format, args)) return 0;
    clip();
    RECT measured = rect;
    const int height = DrawTextA(m_dc, text.c_str(), textLength(text), &measured,
                                 DT_CALCRECT | DT_WORDBREAK);
    if (hCenter) {
        const int shift = (rect.right - measured.right) / 2;
        measured.left += shift;
        measured.right += shift;
    }
    if (vCenter) {
        const int shift = (rect.bottom - measured.bottom) / 2;
        measured.top += shift;
        measured.bottom += shift;
    }
    DrawTextA(m_dc, text.c_str(), textLength(text), &measured, DT_WORDBREAK);
    return height;
}

int Canvas::drawTextWrapped(int left, int top, int right, int bottom, bool vCenter,
                            bool hCenter, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int height =
        drawTextWrappedV(RECT{left, top, right, bottom}, vCenter, hCenter, format, args);
    va_end(args);
    return height;
}

int Canvas::drawTextWrapped(const RECT& rect, bool vCenter, bool hCenter, const char* format,
                            ...) {
    va_list args;
    va_start(args, format);
    const int height = drawTextWrappedV(rect, vCenter, hCenter, format, args);
    va_end(args);
    return height;
}

void Canvas::measureTextWrapped(RECT& rect, const char* format, ...) {
    std::string text;
    va_list args;
    va_start(args, format);
    const bool formatted = formatStringV(text, format, args);
    va_end(args);
    if (!formatted) return;
    DrawTextA(m_dc, text.c_str(), textLength(text), &rect, DT_CALCRECT | DT_WORDBREAK);
}

int Canvas::setTextColor(int index) {
    if (index < 0) index = canvasIndex.windowText;
    const int previous = m_textColor;
    if (!canvasValidIndex(index)) return previous;
    m_textColor = index;
    SetTextColor(m_dc, CanvasPalette[index]);
    return previous;
}

int Canvas::setBkColor(int index) {
    if (index < 0) index = canvasIndex.window;
    const int previous = m_bkColor;
    if (!canvasValidIndex(index)) return previous;
    m_bkColor = index;
    SetBkColor(m_dc, CanvasPalette[index]);
    return previous;
}

void Canvas::setBkModeTransparent() {
    m_opaque = false;
    SetBkMode(m_dc, TRANSPARENT);
}

void Canvas::setBkModeOpaque() {
    m_opaque = true;
    SetBkMode(m_dc, OPAQUE);
}

void Canvas::resetTextAlign() {
    const UINT align = GetTextAlign(m_dc);
    if (align != GDI_ERROR) SetTextAlign(m_dc, align & ~TA_CENTER);
    m_extraFormat = 0;
}
