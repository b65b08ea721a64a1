// Canvas: palette-indexed drawing on a device context, clipped to a
// rectangle.
//
// A canvas is opened on a context for one paint. It saves the context's pen,
// brush, font and colours, draws only inside its rectangle (right and bottom
// inclusive) minus whatever filled shapes cut out of it, and puts the saved
// objects and colours back when it is closed. Colours are palette indices
// (launcher/palette.h); an index outside the palette draws nothing. Needs
// canvasInit first. The context must outlive the canvas: close it before
// EndPaint or ReleaseDC.
#pragma once

#include <cstdarg>

#include "launcher/palette.h"

class Canvas {
public:
    Canvas(HDC dc, const RECT& rect);
    // A canvas inside parent: each edge that is 0 or more replaces the
    // parent's.
    Canvas(const Canvas& parent, int left, int top, int right, int bottom);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    void restore();

    // Null selects the default font. Answers the previous font.
    HFONT selectFont(HFONT font);
    void setClipLeft(int left);
    void setClipTop(int top);
    void setClipRight(int right);
    void setClipBottom(int bottom);
    // Answers the previous pen; an index outside the palette changes nothing.
    HPEN selectPen(int index, int width);
    void selectBrush(int index);

    // A dot of that radius at (x, y), which becomes the current position;
    // 0 when the point is not visible.
    int moveTo(int x, int y, int index, int radius);
    COLORREF setPixel(int x, int y, int index);
    COLORREF setPixel(int x, int y, COLORREF color);
    void lineTo(int x, int y, int index, int width);
    void drawLine(int x1, int y1, int x2, int y2, int index, int width);
    void drawHLine(int x1, int x2, int y, int index, int width);
    void drawVLine(int x, int y1, int y2, int index, int width);
    // 0 when no part of the rectangle is visible.
    int drawRectangle(int left, int top, int right, int bottom, int index, int width);
    int drawRectangle(const RECT& rect, int index, int width);
    void drawArc(int x, int y, int radius, int index, int width);
    void drawArc(const RECT& rect, int index, int width);
    void drawPolyline(const POINT* points, int count, int index, int width);

    // Filled shapes, outlined in their own colour or, with outlineDefault, in
    // dark grey; with exclude the shape is cut out of the clip region, so
    // nothing drawn later shows inside it.
    void fillRectangle(int left, int top, int right, int bottom, int index, bool outlineDefault,
                       bool exclude);
    void fillRectangle(const RECT& rect, int index, bool outlineDefault, bool exclude);
    void fillEllipse(int x, int y, int radius, int index, bool outlineDefault, bool exclude);
    void fillEllipse(const RECT& rect, int index, bool outlineDefault, bool exclude);
    void fillPolygon(const POINT* points, int count, int index, bool outlineDefault,
                     bool exclude);
    void drawCheckMark(int left, int top, int right, int bottom, int index, int width);

    // Moves (x, y) on by n average characters, to the next line when two
    // times that would pass the right edge.
    void advanceCursor(int n, int& x, int& y) const;

    // Text, printf-style; a bad format draws nothing.
    void textOut(int x, int y, const char* format, ...);
    void drawText(const RECT& rect, bool vCenter, bool hCenter, const char* format, ...);
    void drawText(int left, int top, int right, int bottom, bool vCenter, bool hCenter,
                  const char* format, ...);
    // Word-wrapped, centred as asked inside the rectangle; answers the
    // height of the text.
    int drawTextWrapped(int left, int top, int right, int bottom, bool vCenter, bool hCenter,
                        const char* format, ...);
    int drawTextWrapped(const RECT& rect, bool vCenter, bool hCenter, const char* format, ...);
    // Sets rect's right and bottom to the wrapped text's extent.
    void measureTextWrapped(RECT& rect, const char* format, ...);

    // A negative index is the default colour. Answer the previous index.
    int setTextColor(int index);
    int setBkColor(int index);
    void setBkModeTransparent();
    void setBkModeOpaque();
    void resetTextAlign();

    int lineHeight() const { return m_lineHeight; }
    int averageCharWidth() const { return m_averageCharWidth; }
    int textColor() const { return m_textColor; }
    int bkColor() const { return m_bkColor; }

private:
    void readMetrics();
    void resetClip();
    void clip();
    void cutOut(HRGN shape);
    void selectFill(int index, bool outlineDefault);
    int drawTextWrappedV(RECT rect, bool vCenter, bool hCenter, const char* format,
                         va_list args);

    HGDIOBJ m_savedBrush = nullptr;
    HGDIOBJ m_savedPen = nullptr;
    COLORREF m_savedTextColor = 0;
    COLORREF m_savedBkColor = 0;
    HGDIOBJ m_savedFont = nullptr;
    HDC m_dc = nullptr;
    HRGN m_clip = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    int m_lineHeight = 0;
    int m_averageCharWidth = 0;
    int m_textColor = 0;
    int m_bkColor = 0;
    bool m_opaque = false;
    UINT m_extraFormat = 0;
};
