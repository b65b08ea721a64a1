#include "platform/window/messageboxdialog.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <poll.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/system.h"
#include "platform/text/utf8.h"
#include "platform/window/messagebox.h"
#include "platform/window/x11display.h"
#include "platform/window/x11image.h"

namespace platform::window {

namespace {

// Classic dialog metrics in pixels (8-point type at 96 dpi).
constexpr double kFontSize = 11;
constexpr int kMargin = 11;
constexpr int kIcon = 32;
constexpr int kGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
// The text is at most this share of the screen wide, so the whole box fits.
constexpr double kTextShare = 5.0 / 8.0;

struct Button {
    const char* label;
    int answer;
    int x = 0;
    int y = 0;
};

std::vector<Button> buttonsOf(UINT type) {
    switch (type & 0xF) {
    case MB_OKCANCEL: return {{"OK", IDOK}, {"Abbrechen", IDCANCEL}};
    case MB_YESNO: return {{"Ja", IDYES}, {"Nein", IDNO}};
    default: return {{"OK", IDOK}};
    }
}

int escapeAnswer(const std::vector<Button>& buttons) {
    for (const Button& button : buttons) {
        if (button.answer == IDCANCEL) return IDCANCEL;
    }
    return buttons.size() == 1 ? buttons.front().answer : 0;
}

void setColor(cairo_t* cr, int systemColor) {
    COLORREF color = GetSysColor(systemColor);
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
}

void selectFont(cairo_t* cr, bool bold = false) {
    cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kFontSize);
}

double widthOf(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

// Where the UTF-8 character that starts at index i ends.
std::size_t nextCharacter(const std::string& text, std::size_t i) {
    utf8::decode(reinterpret_cast<const unsigned char*>(text.data()), text.size(), i);
    return i;
}

// Moves the parts of word that fill whole lines into lines, each as long as
// fits (one character at least); the rest stays in word.
void breakWord(cairo_t* cr, std::string& word, double maxWidth, std::vector<std::string>& lines) {
    while (widthOf(cr, word) > maxWidth) {
        std::size_t end = nextCharacter(word, 0);
        while (end < word.size()) {
            std::size_t next = nextCharacter(word, end);
            if (widthOf(cr, word.substr(0, next)) > maxWidth) break;
            end = next;
        }
        lines.push_back(word.substr(0, end));
        word.erase(0, end);
    }
}

std::vector<std::string> linesOf(cairo_t* cr, const std::string& text, double maxWidth) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        std::string line;
        std::size_t word = 0;
        while (word <= paragraph.size()) {
            std::size_t next = paragraph.find(' ', word);
            if (next == std::string::npos) next = paragraph.size();
            std::string piece = paragraph.substr(word, next - word);
            std::string candidate = line.empty() ? piece : line + " " + piece;
            if (widthOf(cr, candidate) <= maxWidth) {
                line = candidate;
            } else {
                // The word starts a line of its own, and takes more where
                // it is wider than one.
                if (!line.empty()) lines.push_back(line);
                breakWord(cr, piece, maxWidth, lines);
                line = piece;
            }
            word = next + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A context to measure text in the dialog's font.
struct Measure {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    Measure() { selectFont(cr); }
    ~Measure() {
        cairo_destroy(cr);
        cairo_surface_destroy(scratch);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;
};

struct Layout {
    int width = 0;
    int height = 0;
    int lineHeight = 0;
    int ascent = 0;
    int textTop = 0;
    std::vector<std::string> lines;
    std::vector<Button> buttons;
};

Layout layOut(const std::string& text, UINT type, int screenWidth) {
    Layout layout;
    Measure measure;
    cairo_font_extents_t font;
    cairo_font_extents(measure.cr, &font);
    layout.ascent = static_cast<int>(std::lround(font.ascent));
    layout.lineHeight = static_cast<int>(std::lround(font.ascent + font.descent));
    layout.lines = linesOf(measure.cr, text, screenWidth * kTextShare);
    double widest = 0;
    for (const std::string& line : layout.lines) {
        widest = std::max(widest, widthOf(measure.cr, line));
    }

    layout.buttons = buttonsOf(type);
    int count = static_cast<int>(layout.buttons.size());
    int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    int textHeight = layout.lineHeight * static_cast<int>(layout.lines.size());
    int body = std::max(kIcon, textHeight);
    layout.textTop = kMargin + (body - textHeight) / 2;
    layout.width = std::max(kMargin + kIcon + kGap + static_cast<int>(std::ceil(widest)) + kMargin,
                            buttonsWidth + 2 * kMargin);
    layout.height = kMargin + body + kGap + kButtonHeight + kMargin;
    int x = (layout.width - buttonsWidth) / 2;
    for (Button& button : layout.buttons) {
        button.x = x;
        button.y = layout.height - kMargin - kButtonHeight;
        x += kButtonWidth + kButtonGap;
    }
    return layout;
}

void rect(cairo_t* cr, int x, int y, int w, int h, int systemColor) {
    setColor(cr, systemColor);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

void drawIcon(cairo_t* cr, UINT type) {
    double c = kMargin + kIcon / 2.0;
    UINT icon = type & 0xF0;
    cairo_arc(cr, c, c, kIcon / 2.0 - 1, 0, 2 * std::numbers::pi);
    if (icon == MB_ICONHAND) {
        cairo_set_source_rgb(cr, 1, 0, 0);
    } else if (icon == MB_ICONEXCLAMATION) {
        cairo_set_source_rgb(cr, 1, 1, 0);
    } else {
        cairo_set_source_rgb(cr, 1, 1, 1);
    }
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (icon == 0) return;
    const char* mark = icon == MB_ICONHAND ? "X" : icon == MB_ICONQUESTION ? "?"
                     : icon == MB_ICONEXCLAMATION ? "!" : "i";
    if (icon == MB_ICONHAND) {
        cairo_set_source_rgb(cr, 1, 1, 1);
    } else if (icon == MB_ICONEXCLAMATION) {
        cairo_set_source_rgb(cr, 0, 0, 0);
    } else {
        cairo_set_source_rgb(cr, 0, 0, 1);
    }
    cairo_select_font_face(cr, "Liberation Serif", CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 24);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, mark, &extents);
    cairo_move_to(cr, c - extents.x_bearing - extents.width / 2,
                  c - extents.y_bearing - extents.height / 2);
    cairo_show_text(cr, mark);
}

void drawButton(cairo_t* cr, const Button& button, bool focused) {
    int x = button.x;
    int y = button.y;
    int w = kButtonWidth;
    int h = kButtonHeight;
    rect(cr, x, y, w, h, COLOR_BTNFACE);
    if (focused) {
        // The default button's extra black frame.
        rect(cr, x, y, w, 1, COLOR_3DDKSHADOW);
        rect(cr, x, y, 1, h, COLOR_3DDKSHADOW);
        rect(cr, x, y + h - 1, w, 1, COLOR_3DDKSHADOW);
        rect(cr, x + w - 1, y, 1, h, COLOR_3DDKSHADOW);
        ++x, ++y, w -= 2, h -= 2;
    }
    rect(cr, x, y, w - 1, 1, COLOR_BTNHIGHLIGHT);
    rect(cr, x, y, 1, h - 1, COLOR_BTNHIGHLIGHT);
    rect(cr, x, y + h - 1, w, 1, COLOR_3DDKSHADOW);
    rect(cr, x + w - 1, y, 1, h, COLOR_3DDKSHADOW);
    rect(cr, x + 1, y + h - 2, w - 2, 1, COLOR_BTNSHADOW);
    rect(cr, x + w - 2, y + 1, 1, h - 2, COLOR_BTNSHADOW);
    selectFont(cr);
    setColor(cr, COLOR_BTNTEXT);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    double width = widthOf(cr, button.label);
    cairo_move_to(cr, std::round(button.x + (kButtonWidth - width) / 2),
                  std::round(button.y + (kButtonHeight - font.ascent - font.descent) / 2 +
                             font.ascent));
    cairo_show_text(cr, button.label);
    if (focused) {
        // The dotted focus rectangle.
        double dash = 1;
        cairo_set_dash(cr, &dash, 1, 0);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, x + 3.5, y + 3.5, w - 8, h - 8);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

void paint(cairo_surface_t* surface, const Layout& layout, UINT type, std::size_t focus) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    rect(cr, 0, 0, layout.width, layout.height, COLOR_BTNFACE);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    drawIcon(cr, type);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    selectFont(cr);
    setColor(cr, COLOR_WINDOWTEXT);
    int x = kMargin + kIcon + kGap;
    int y = layout.textTop + layout.ascent;
    for (const std::string& line : layout.lines) {
        cairo_move_to(cr, x, y);
        cairo_show_text(cr, line.c_str());
        y += layout.lineHeight;
    }
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        drawButton(cr, layout.buttons[i], i == focus);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
}

Atom atom(Display* d, const char* name) { return XInternAtom(d, name, False); }

}  // namespace

int showDialog(const std::string& caption, const std::string& text, UINT type) {
    std::atomic<bool> lost{false};
    // A box is the one way to tell the person at the screen what went
    // wrong: it does not give up on its display at the first refusal.
    Display* d = openDisplay(5, &lost);
    if (d == nullptr) return 0;
    int number = DefaultScreen(d);
    Layout layout = layOut(text, type, DisplayWidth(d, number));
    // Never off the screen: a box taller than it shows its top, text first.
    int x = std::max(0, (DisplayWidth(d, number) - layout.width) / 2);
    int y = std::max(0, (DisplayHeight(d, number) - layout.height) / 2);

    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(d, number);
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask |
                            StructureNotifyMask;
    Window window = XCreateWindow(d, RootWindow(d, number), x, y,
                                  static_cast<unsigned>(layout.width),
                                  static_cast<unsigned>(layout.height), 0, CopyFromParent,
                                  InputOutput, CopyFromParent, CWBackPixel | CWEventMask,
                                  &attributes);
    XStoreName(d, window, caption.c_str());
    XChangeProperty(d, window, atom(d, "_NET_WM_NAME"), atom(d, "UTF8_STRING"), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(caption.data()),
                    static_cast<int>(caption.size()));
    Atom dialogType = atom(d, "_NET_WM_WINDOW_TYPE_DIALOG");
    XChangeProperty(d, window, atom(d, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&dialogType), 1);
    XSizeHints hints{};
    hints.flags = USPosition | PMinSize | PMaxSize;
    hints.x = x;
    hints.y = y;
    hints.min_width = hints.max_width = layout.width;
    hints.min_height = hints.max_height = layout.height;
    XSetWMNormalHints(d, window, &hints);
    Atom deleteWindow = atom(d, "WM_DELETE_WINDOW");
    XSetWMProtocols(d, window, &deleteWindow, 1);

    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, layout.height);
    std::size_t focus = 0;
    paint(surface, layout, type, focus);
    XMapRaised(d, window);

    int escape = escapeAnswer(layout.buttons);
    int answer = 0;
    while (answer == 0 && !lost) {
        // Only a queued event is taken: on a connection the server dropped
        // XNextEvent would wait for one that cannot come.
        if (XPending(d) == 0) {
            pollfd connection{ConnectionNumber(d), POLLIN, 0};
            poll(&connection, 1, -1);
            continue;
        }
        XEvent event;
        XNextEvent(d, &event);
        switch (event.type) {
        case MapNotify:
            XSetInputFocus(d, window, RevertToParent, CurrentTime);
            break;
        case Expose:
            if (event.xexpose.count == 0) putSurface(d, window, surface);
            break;
        case KeyPress: {
            KeySym key = XLookupKeysym(&event.xkey, 0);
            if (key == XK_Return || key == XK_KP_Enter || key == XK_space) {
                answer = layout.buttons[focus].answer;
            } else if (key == XK_Escape) {
                answer = escape;
            } else if (key == XK_Tab || key == XK_Right || key == XK_Left) {
                focus = (focus + (key == XK_Left ? layout.buttons.size() - 1 : 1)) %
                        layout.buttons.size();
                paint(surface, layout, type, focus);
                putSurface(d, window, surface);
            }
            break;
        }
        case ButtonRelease:
            if (event.xbutton.button != Button1) break;
            for (const Button& button : layout.buttons) {
                if (event.xbutton.x >= button.x && event.xbutton.x < button.x + kButtonWidth &&
                    event.xbutton.y >= button.y && event.xbutton.y < button.y + kButtonHeight) {
                    answer = button.answer;
                }
            }
            break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) answer = escape;
            break;
        default:
            break;
        }
    }
    XDestroyWindow(d, window);
    cairo_surface_destroy(surface);
    closeDisplay(d);
    // 0 when the server went away unanswered: the box then goes where it
    // goes without a display.
    return answer;
}

std::vector<std::string> wrapText(const std::string& text, double maxWidth) {
    Measure measure;
    return linesOf(measure.cr, text, maxWidth);
}

double textWidth(const std::string& line) {
    Measure measure;
    return widthOf(measure.cr, line);
}

}  // namespace platform::window
