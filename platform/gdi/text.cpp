#include "platform/gdi/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/object.h"
#include "platform/gdi/region.h"
#include "platform/text/cp1252.h"

namespace platform::gdi {

namespace {

// The cell height Windows gives a font asked for with height 0.
constexpr int kDefaultCellHeight = 16;
// Heights beyond this are taken as this, which no screen needs more of.
constexpr int kMaxHeight = 4096;

cairo_scaled_font_t* makeScaled(cairo_font_face_t* face, double size) {
    cairo_matrix_t matrix;
    cairo_matrix_t identity;
    cairo_matrix_init_scale(&matrix, size, size);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    // Advances in whole pixels, as GDI lays text out.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &matrix, &identity, options);
    cairo_font_options_destroy(options);
    return scaled;
}

}  // namespace

void realizeFont(Font& font) {
    if (font.scaled != nullptr) return;
    std::string face = font.face.empty() ? "Arial" : font.face;
    cairo_font_face_t* cairoFace = cairo_toy_font_face_create(
        face.c_str(), font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        font.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    // The cell of a 100-pixel em gives the em of the cell asked for.
    cairo_scaled_font_t* probe = makeScaled(cairoFace, 100);
    cairo_font_extents_t unit;
    cairo_scaled_font_extents(probe, &unit);
    cairo_scaled_font_destroy(probe);
    double cell = (unit.ascent + unit.descent) / 100;
    if (cell <= 0) cell = 1;
    int height = std::min(std::abs(font.height), kMaxHeight);
    double em = font.height < 0 ? height
                                : (height == 0 ? kDefaultCellHeight : height) / cell;
    font.scaled = makeScaled(cairoFace, em);
    cairo_font_face_destroy(cairoFace);
    font.ascent = static_cast<int>(std::lround(unit.ascent / 100 * em));
    font.descent = static_cast<int>(std::lround(unit.descent / 100 * em));
    cairo_text_extents_t letters;
    cairo_scaled_font_text_extents(font.scaled,
                                   "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", &letters);
    font.averageWidth = static_cast<int>(std::lround(letters.x_advance / 52));
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font.scaled, &extents);
    font.maxWidth = static_cast<int>(std::lround(extents.max_x_advance));
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace {

Dc* dcOf(HDC handle) { return lookup<Dc>(handle, Kind::dc); }

Font& fontOf(Dc& dc) {
    realizeFont(*dc.font);
    return *dc.font;
}

// Narrow text up to length bytes (or its terminator), in UTF-8.
std::string utf8Of(const char* text, std::size_t length) {
    std::string narrow(text, strnlen(text, length));
    return platform::cp1252::toUtf8(narrow.c_str());
}

int widthOf(Font& font, const std::string& utf8) {
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(font.scaled, utf8.c_str(), &extents);
    return static_cast<int>(std::lround(extents.x_advance));
}

// One line with its top left at (x, top).
void drawLine(Dc& dc, int x, int top, const std::string& utf8) {
    Font& font = fontOf(dc);
    cairo_t* cr = beginDrawing(dc);
    if (dc.backMode == OPAQUE) {
        setSource(cr, dc.backColor);
        cairo_rectangle(cr, x, top, widthOf(font, utf8), font.ascent + font.descent);
        cairo_fill(cr);
    }
    setSource(cr, dc.textColor);
    cairo_set_scaled_font(cr, font.scaled);
    cairo_move_to(cr, x, top + font.ascent);
    cairo_show_text(cr, utf8.c_str());
    cairo_destroy(cr);
    cairo_surface_flush(dc.surface);
}

// "&x" draws "x", "&&" draws "&".
std::string withoutPrefixes(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out.push_back(text[i]);
        } else if (i + 1 < text.size()) {
            out.push_back(text[++i]);
        }
    }
    return out;
}

struct Line {
    std::string utf8;
    int width;
};

std::vector<Line> layOut(Font& font, const std::string& narrow, int maxWidth, UINT format) {
    std::vector<std::string> paragraphs;
    if ((format & DT_SINGLELINE) != 0) {
        std::string joined;
        for (char c : narrow) {
            if (c != '\r' && c != '\n') joined.push_back(c);
        }
        paragraphs.push_back(joined);
    } else {
        std::string current;
        for (std::size_t i = 0; i < narrow.size(); ++i) {
            if (narrow[i] == '\r' && i + 1 < narrow.size() && narrow[i + 1] == '\n') continue;
            if (narrow[i] == '\n' || narrow[i] == '\r') {
                paragraphs.push_back(current);
                current.clear();
            } else {
                current.push_back(narrow[i]);
            }
        }
        paragraphs.push_back(current);
    }
    std::vector<Line> lines;
    auto add = [&](const std::string& text) {
        std::string utf8 = platform::cp1252::toUtf8(text.c_str());
        lines.push_back({utf8, widthOf(font, utf8)});
    };
    bool wrap = (format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0;
    for (const std::string& paragraph : paragraphs) {
        if (!wrap) {
            add(paragraph);
            continue;
        }
        std::string line;
        std::size_t start = 0;
        bool first = true;
        while (start <= paragraph.size()) {
            std::size_t end = paragraph.find(' ', start);
            if (end == std::string::npos) end = paragraph.size();
            std::string word = paragraph.substr(start, end - start);
            std::string candidate = first ? word : line + " " + word;
            if (!first &&
                widthOf(font, platform::cp1252::toUtf8(candidate.c_str())) > maxWidth) {
                while (!line.empty() && line.back() == ' ') line.pop_back();
                add(line);
                line = word;
            } else {
                line = candidate;
            }
            first = false;
            start = end + 1;
        }
        add(line);
    }
    return lines;
}

}  // namespace

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD,
                  DWORD, DWORD, DWORD, DWORD, LPCSTR faceName) {
    auto* font = new Font;
    font->height = height;
    font->weight = weight == FW_DONTCARE ? FW_NORMAL : weight;
    font->italic = italic != 0;
    // LOGFONT holds at most 31 characters of the name.
    if (faceName != nullptr) font->face.assign(faceName, strnlen(faceName, 31));
    track(font);
    return reinterpret_cast<HFONT>(static_cast<Object*>(font));
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* metrics) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || metrics == nullptr) return FALSE;
    Font& font = fontOf(*dc);
    TEXTMETRICA out{};
    out.tmHeight = font.ascent + font.descent;
    out.tmAscent = font.ascent;
    out.tmDescent = font.descent;
    out.tmAveCharWidth = font.averageWidth;
    out.tmMaxCharWidth = font.maxWidth;
    out.tmWeight = font.weight;
    out.tmDigitizedAspectX = 96;
    out.tmDigitizedAspectY = 96;
    out.tmFirstChar = 0x20;
    out.tmLastChar = 0xFF;
    out.tmDefaultChar = 0x1F;
    out.tmBreakChar = 0x20;
    out.tmItalic = font.italic ? 1 : 0;
    out.tmPitchAndFamily = static_cast<BYTE>(FF_SWISS | 0x06);  // variable pitch, TrueType
    out.tmCharSet = ANSI_CHARSET;
    *metrics = out;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int length, SIZE* size) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0)) {
        return FALSE;
    }
    Font& font = fontOf(*dc);
    size->cx = length == 0 ? 0 : widthOf(font, utf8Of(text, static_cast<std::size_t>(length)));
    size->cy = font.ascent + font.descent;
    return TRUE;
}

UINT SetTextAlign(HDC handle, UINT align) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr) return GDI_ERROR;
    UINT previous = dc->textAlign;
    dc->textAlign = align;
    return previous;
}

UINT GetTextAlign(HDC handle) {
    Dc* dc = dcOf(handle);
    return dc != nullptr ? dc->textAlign : GDI_ERROR;
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int length) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
    if (length == 0) return TRUE;
    Font& font = fontOf(*dc);
    std::string utf8 = utf8Of(text, static_cast<std::size_t>(length));
    int width = widthOf(font, utf8);
    UINT horizontal = dc->textAlign & TA_CENTER;
    if (horizontal == TA_CENTER) {
        x -= width / 2;
    } else if (horizontal == TA_RIGHT) {
        x -= width;
    }
    UINT vertical = dc->textAlign & TA_BASELINE;
    if (vertical == TA_BASELINE) {
        y -= font.ascent;
    } else if (vertical == TA_BOTTOM) {
        y -= font.ascent + font.descent;
    }
    drawLine(*dc, x, y, utf8);
    return TRUE;
}

int DrawTextA(HDC handle, LPCSTR text, int length, LPRECT rect, UINT format) {
    Dc* dc = dcOf(handle);
    if (dc == nullptr || text == nullptr || rect == nullptr) return 0;
    std::string narrow = length < 0 ? std::string(text)
                                    : std::string(text, strnlen(text, static_cast<std::size_t>(length)));
    if ((format & DT_NOPREFIX) == 0) narrow = withoutPrefixes(narrow);
    Font& font = fontOf(*dc);
    int lineHeight = font.ascent + font.descent;
    std::vector<Line> lines =
        layOut(font, narrow, static_cast<int>(rect->right - rect->left), format);
    int height = lineHeight * static_cast<int>(lines.size());
    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const Line& line : lines) widest = std::max(widest, line.width);
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int top = rect->top;
    if ((format & DT_SINGLELINE) != 0 && (format & DT_VCENTER) != 0) {
        top = rect->top + (rect->bottom - rect->top - height) / 2;
    } else if ((format & DT_SINGLELINE) != 0 && (format & DT_BOTTOM) != 0) {
        top = rect->bottom - height;
    }
    // Clipped to the rectangle as well as to the context.
    bool hadClip = dc->hasClip;
    Shape savedClip = dc->clip;
    if ((format & DT_NOCLIP) == 0) {
        Shape box = Shape::rectangle(rect->left, rect->top, rect->right, rect->bottom);
        dc->clip = hadClip ? Shape::combine(savedClip, box, RGN_AND) : box;
        dc->hasClip = true;
    }
    int y = top;
    for (const Line& line : lines) {
        int x = rect->left;
        if ((format & DT_CENTER) != 0) {
            x = rect->left + (rect->right - rect->left - line.width) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            x = rect->right - line.width;
        }
        if (!line.utf8.empty()) drawLine(*dc, x, y, line.utf8);
        y += lineHeight;
    }
    dc->clip = savedClip;
    dc->hasClip = hadClip;
    return top == rect->top ? height : top - rect->top + height;
}
