// Brings a figure line's end points, computed in floating point, to the integers DrawLine takes.
#pragma once

struct ScreenLine {
    int x1;
    int y1;
    int x2;
    int y2;
};

// Truncates toward zero. False when the line is skipped: an end point that is not a finite
// number, or a line wholly beyond one side of the width x height surface (it would draw nothing).
bool FitLine(double x1, double y1, double x2, double y2, int width, int height, ScreenLine& line);
