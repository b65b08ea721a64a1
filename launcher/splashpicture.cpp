// splashpicture OUTPUT [WIDTH HEIGHT [TITLE]]: draws the launcher's splash
// picture (600 x 400 unless asked otherwise) and writes it as a 24-bit BMP
// file for the resource script. The right half stays light: the launcher
// writes its version line and notice there in dark grey.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/littleendian.h"

namespace {

void drawPaper(cairo_t* cr) {
    cairo_pattern_t* paper = cairo_pattern_create_linear(0, 0, 0, 400);
    cairo_pattern_add_color_stop_rgb(paper, 0, 0.99, 0.97, 0.93);
    cairo_pattern_add_color_stop_rgb(paper, 1, 0.93, 0.89, 0.81);
    cairo_set_source(cr, paper);
    cairo_paint(cr);
    cairo_pattern_destroy(paper);

    cairo_set_line_width(cr, 1);
    cairo_set_source_rgb(cr, 0.78, 0.85, 0.94);
    for (double y = 196.5; y < 400; y += 28) {
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, 600, y);
    }
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.90, 0.55, 0.55);
    cairo_move_to(cr, 24.5, 0);
    cairo_line_to(cr, 24.5, 400);
    cairo_stroke(cr);
}

void drawQuill(cairo_t* cr) {
    // The vane: two curves from the tip up to the top of the feather.
    cairo_move_to(cr, 70, 372);
    cairo_curve_to(cr, 90, 300, 170, 200, 330, 168);
    cairo_curve_to(cr, 260, 230, 170, 300, 70, 372);
    cairo_pattern_t* vane = cairo_pattern_create_linear(70, 372, 330, 168);
    cairo_pattern_add_color_stop_rgb(vane, 0, 0.20, 0.27, 0.47);
    cairo_pattern_add_color_stop_rgb(vane, 1, 0.55, 0.65, 0.85);
    cairo_set_source(cr, vane);
    cairo_fill(cr);
    cairo_pattern_destroy(vane);
    // The shaft.
    cairo_set_source_rgb(cr, 0.95, 0.93, 0.88);
    cairo_set_line_width(cr, 2.5);
    cairo_move_to(cr, 62, 384);
    cairo_curve_to(cr, 120, 300, 210, 220, 330, 168);
    cairo_stroke(cr);
    // A drop of ink and the line it writes.
    cairo_set_source_rgb(cr, 0.12, 0.16, 0.32);
    cairo_arc(cr, 58, 388, 4, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 62, 391);
    cairo_curve_to(cr, 110, 380, 130, 396, 180, 386);
    cairo_stroke(cr);
}

void drawTitle(cairo_t* cr, const std::string& title) {
    cairo_select_font_face(cr, "Liberation Serif", CAIRO_FONT_SLANT_ITALIC,
                           CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 78);
    cairo_set_source_rgb(cr, 0.80, 0.76, 0.68);
    cairo_move_to(cr, 44, 122);
    cairo_show_text(cr, title.c_str());
    cairo_set_source_rgb(cr, 0.13, 0.20, 0.40);
    cairo_move_to(cr, 40, 118);
    cairo_show_text(cr, title.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: splashpicture OUTPUT [WIDTH HEIGHT [TITLE]]\n");
        return 2;
    }
    const int width = argc >= 4 ? std::atoi(argv[2]) : 600;
    const int height = argc >= 4 ? std::atoi(argv[3]) : 400;
    const std::string title = argc == 5 ? argv[4] : "Quillory";
    if (width <= 0 || height <= 0 || width > 4000 || height > 4000) {
        std::fprintf(stderr, "splashpicture: bad size\n");
        return 2;
    }

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, width / 600.0, height / 400.0);
    drawPaper(cr);
    drawQuill(cr);
    drawTitle(cr, title);
    cairo_destroy(cr);
    cairo_surface_flush(surface);

    const auto rowSize = static_cast<unsigned>((width * 3 + 3) / 4 * 4);
    const unsigned pixelOffset = 14 + 40;
    const unsigned imageSize = rowSize * static_cast<unsigned>(height);
    std::vector<std::uint8_t> bmp;
    bmp.push_back('B');
    bmp.push_back('M');
    appendLittle32(bmp, pixelOffset + imageSize);
    appendLittle32(bmp, 0);
    appendLittle32(bmp, pixelOffset);
    appendLittle32(bmp, 40);
    appendLittle32(bmp, static_cast<unsigned>(width));
    appendLittle32(bmp, static_cast<unsigned>(height));  // bottom-up
    appendLittle16(bmp, 1);
    appendLittle16(bmp, 24);
    appendLittle32(bmp, 0);
    appendLittle32(bmp, imageSize);
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 0);
    appendLittle32(bmp, 0);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels + y * stride);
        for (int x = 0; x < width; ++x) {
            bmp.push_back(static_cast<std::uint8_t>(row[x] & 0xFF));
            bmp.push_back(static_cast<std::uint8_t>((row[x] >> 8) & 0xFF));
            bmp.push_back(static_cast<std::uint8_t>((row[x] >> 16) & 0xFF));
        }
        for (unsigned pad = static_cast<unsigned>(width) * 3; pad < rowSize; ++pad)
            bmp.push_back(0);
    }
    cairo_surface_destroy(surface);
    // Font caches would otherwise count as leaks in a sanitizer build.
    cairo_debug_reset_static_data();
    FcFini();

    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) return 1;
    const bool written = std::fwrite(bmp.data(), 1, bmp.size(), out) == bmp.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
