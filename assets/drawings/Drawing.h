// Drawing: straight line segments on named layers in DXF coordinates (y up), with helpers that
// turn smooth curves through chosen points into short segments.
#pragma once

#include <string>
#include <vector>

namespace drawings {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Segment {
    Point a;
    Point b;
    std::string layer;
};

// Scale then offset, applied to every point added afterwards; a negative scale mirrors.
struct Placement {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double offsetX = 0.0;
    double offsetY = 0.0;

    Point Apply(Point p) const { return {offsetX + scaleX * p.x, offsetY + scaleY * p.y}; }
};

class Drawing {
  public:
    void SetLayer(std::string layer) { layer_ = std::move(layer); }
    void SetPlacement(Placement placement) { placement_ = placement; }
    // Longest segment a curve is cut into, in the units of the points given.
    void SetStep(double step) { step_ = step; }

    void Line(Point a, Point b);
    void Polyline(const std::vector<Point>& points, bool closed = false);
    // A smooth (centripetal Catmull-Rom) curve through every point.
    void Curve(const std::vector<Point>& points, bool closed = false);
    void Ellipse(Point centre, double radiusX, double radiusY);
    // From one angle to another in degrees, counter-clockwise when to > from.
    void Arc(Point centre, double radiusX, double radiusY, double fromDegrees, double toDegrees);

    // Scales everything drawn so far evenly and centres it in the box from low to high.
    void FitInto(Point low, Point high);

    const std::vector<Segment>& segments() const { return segments_; }
    // Lower-left and upper-right corners of everything drawn.
    Point Min() const;
    Point Max() const;

  private:
    void Add(Point a, Point b);

    std::vector<Segment> segments_;
    std::string layer_ = "0";
    Placement placement_;
    double step_ = 8.0;
};

}  // namespace drawings
