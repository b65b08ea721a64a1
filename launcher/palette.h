// The launcher's drawing palette and the GDI objects made from it.
//
// Every colour the launcher draws is an index into one process-wide table of
// 338 colours: eight ramps of greys and hues, then the system colours.
// canvasInit builds the table, one solid brush per entry and the default
// font; pens are made on first use and cached by width and index. All of it
// lives until canvasRelease. One thread only, like the launcher itself.
#pragma once

#include "platform/win32.h"

constexpr int kPaletteSize = 338;
constexpr int kPenWidths = 1000;

extern COLORREF CanvasPalette[kPaletteSize];

// Palette indices named while the palette is built.
struct CanvasPaletteIndices {
    int darkGrey;  // the last grey: text and default outlines
    int grey;
    int magenta;
    int red;
    int orange;
    int orange157;  // the third-last orange
    int yellow;
    int green;
    int cyan;
    int blue;
    int system;  // the first system colour
    int background;
    int menu;
    int window;  // default background colour
    int windowText;  // default text colour
    int appWorkspace;
    int highlight;
    int highlightText;
    int btnFace;
    int light3d;
    int infoText;
    int infoBk;
};
extern CanvasPaletteIndices canvasIndex;

// Builds the palette, the brushes and the default font and empties the pen
// cache. Answers 1.
int canvasInit();
// Deletes the default font, the brushes and every cached pen. Answers 1.
int canvasRelease();
// Fills CanvasPalette and canvasIndex (canvasInit does this first).
void buildPalette();

bool canvasValidIndex(int index);
// The brush of an entry; null for an index outside the palette.
HBRUSH canvasBrush(int index);
// The solid pen of that width and entry, made on first use. Widths above
// 999 are 999 and negative ones 0; null for an index outside the palette.
HPEN canvasPen(int width, int index);
HFONT canvasDefaultFont();
