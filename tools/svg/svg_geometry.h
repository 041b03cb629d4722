// Points, affine transforms and the flattening of curves into straight segments.
#pragma once

#include <vector>

struct Point {
    double x = 0;
    double y = 0;
};

// x' = a x + c y + e, y' = b x + d y + f (the order of SVG's matrix()).
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

// One run of connected points; a closed one joins its last point back to its first
// (the first point is not repeated at the end).
struct Polyline {
    std::vector<Point> points;
    bool closed = false;
};

Affine compose(const Affine& outer, const Affine& inner);   // inner applied first
Point apply(const Affine& transform, Point point);
// The largest factor by which the transform stretches any length.
double largest_stretch(const Affine& transform);

// Each appends the points after the start point, the last one being the end point,
// with no point further than tolerance from the true curve.
void flatten_quadratic(Point p0, Point p1, Point p2, double tolerance, std::vector<Point>& out);
void flatten_cubic(Point p0, Point p1, Point p2, Point p3, double tolerance, std::vector<Point>& out);
// An elliptical arc in SVG's endpoint form (radii corrected as SVG prescribes).
void flatten_arc(Point from, double rx, double ry, double rotation_degrees, bool large_arc, bool sweep,
                 Point to, double tolerance, std::vector<Point>& out);
// A whole ellipse, starting at angle 0 and running in SVG's drawing direction.
Polyline flatten_ellipse(Point centre, double rx, double ry, double tolerance);

double signed_area(const std::vector<Point>& points);   // positive when counter-clockwise, y up
bool point_in_polygon(const std::vector<Point>& polygon, Point point);
