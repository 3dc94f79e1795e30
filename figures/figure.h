// Figure: a line drawing from a DXF file, held relative to its centre and drawn scaled about a
// position in one palette colour.
#pragma once

#include "figures/cursor_list.h"
#include "figures/dxf_line.h"
#include "figures/dxf_reader.h"

class Screen;

class Figure {
  public:
    Figure(DxfReader* reader, Screen* screen) : reader(reader), screen(screen) {}
    // Releases the lines through DxfEntity.
    ~Figure();
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    // Reads every LINE after the header, computes the centre and recentres the lines. A file that
    // gives no line leaves an empty figure that draws nothing; the problem goes to stderr.
    void Load();
    // The integer centre of the lines as read; (0, 0) for a figure with no lines.
    void ComputeCentre();
    // Every line, scaled about (x, y), inside one lock of the back buffer.
    void Draw(float xScale, float yScale, int colour);

    CursorList<DxfLine> lines;
    DxfReader* reader;  // not owned; only Load uses it
    Screen* screen;     // not owned
    int x = 0;
    int y = 0;
    int centreX = 0;
    int centreY = 0;
};
