#include "svg_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

Affine compose(const Affine& outer, const Affine& inner)
{
    return Affine{
        outer.a * inner.a + outer.c * inner.b,           outer.b * inner.a + outer.d * inner.b,
        outer.a * inner.c + outer.c * inner.d,           outer.b * inner.c + outer.d * inner.d,
        outer.a * inner.e + outer.c * inner.f + outer.e, outer.b * inner.e + outer.d * inner.f + outer.f};
}

Point apply(const Affine& t, Point p)
{
    return Point{t.a * p.x + t.c * p.y + t.e, t.b * p.x + t.d * p.y + t.f};
}

double largest_stretch(const Affine& t)
{
    // Largest singular value of the 2x2 part.
    const double p = t.a * t.a + t.b * t.b + t.c * t.c + t.d * t.d;
    const double det = t.a * t.d - t.b * t.c;
    const double q = std::sqrt(std::max(0.0, p * p - 4 * det * det));
    return std::sqrt((p + q) / 2);
}

namespace {

int pieces_for(double second_difference, double factor, double tolerance)
{
    // Uniform steps of 1/n keep the chord within factor * |second difference| / n^2.
    const double n = std::ceil(std::sqrt(factor * second_difference / tolerance));
    if (!(n >= 1))
        return 1;   // also when the numbers were not finite
    return static_cast<int>(std::min(n, 1000.0));
}

double length(Point p)
{
    return std::hypot(p.x, p.y);
}

}   // namespace

void flatten_quadratic(Point p0, Point p1, Point p2, double tolerance, std::vector<Point>& out)
{
    const Point dd{p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y};
    const int n = pieces_for(length(dd), 0.25, tolerance);
    for (int i = 1; i < n; ++i) {
        const double t = double(i) / n, u = 1 - t;
        out.push_back(
            {u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    out.push_back(p2);
}

void flatten_cubic(Point p0, Point p1, Point p2, Point p3, double tolerance, std::vector<Point>& out)
{
    const Point d1{p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y};
    const Point d2{p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y};
    const int n = pieces_for(std::max(length(d1), length(d2)), 0.75, tolerance);
    for (int i = 1; i < n; ++i) {
        const double t = double(i) / n, u = 1 - t;
        const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        out.push_back(
            {w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x, w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y});
    }
    out.push_back(p3);
}

namespace {

// Steps of at most this angle keep a chord within tolerance of a circle of this radius.
double largest_step(double radius, double tolerance)
{
    if (radius <= tolerance)
        return std::numbers::pi / 2;
    return std::min(std::numbers::pi / 4, 2 * std::acos(1 - tolerance / radius));
}

void append_arc_points(Point centre, double rx, double ry, double phi, double start, double sweep_angle,
                       double tolerance, std::vector<Point>& out, bool include_end)
{
    const double step = largest_step(std::max(rx, ry), tolerance);
    const double pieces = std::ceil(std::fabs(sweep_angle) / step);
    const int n = pieces >= 1 ? static_cast<int>(std::min(pieces, 1000.0)) : 1;
    const double cos_phi = std::cos(phi), sin_phi = std::sin(phi);
    const int last = include_end ? n : n - 1;
    for (int i = 1; i <= last; ++i) {
        const double angle = start + sweep_angle * i / n;
        const double x = rx * std::cos(angle), y = ry * std::sin(angle);
        out.push_back({centre.x + cos_phi * x - sin_phi * y, centre.y + sin_phi * x + cos_phi * y});
    }
}

double vector_angle(double ux, double uy, double vx, double vy)
{
    return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

}   // namespace

void flatten_arc(Point from, double rx, double ry, double rotation_degrees, bool large_arc, bool sweep,
                 Point to, double tolerance, std::vector<Point>& out)
{
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if ((from.x == to.x && from.y == to.y))
        return;
    if (rx == 0 || ry == 0 || !std::isfinite(rx * ry) || !std::isfinite(rotation_degrees)) {
        out.push_back(to);
        return;
    }
    // Centre parameterisation of the endpoint form.
    const double phi = rotation_degrees * std::numbers::pi / 180;
    const double cos_phi = std::cos(phi), sin_phi = std::sin(phi);
    const double hx = (from.x - to.x) / 2, hy = (from.y - to.y) / 2;
    const double x1 = cos_phi * hx + sin_phi * hy;
    const double y1 = -sin_phi * hx + cos_phi * hy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {   // radii too small to reach: grow them just enough
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double numerator = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double factor = std::sqrt(std::max(0.0, numerator / denominator));
    if (large_arc == sweep)
        factor = -factor;
    const double cx1 = factor * rx * y1 / ry, cy1 = -factor * ry * x1 / rx;
    const Point centre{cos_phi * cx1 - sin_phi * cy1 + (from.x + to.x) / 2,
                       sin_phi * cx1 + cos_phi * cy1 + (from.y + to.y) / 2};
    const double ux = (x1 - cx1) / rx, uy = (y1 - cy1) / ry;
    const double vx = (-x1 - cx1) / rx, vy = (-y1 - cy1) / ry;
    const double start = vector_angle(1, 0, ux, uy);
    double delta = vector_angle(ux, uy, vx, vy);
    if (!sweep && delta > 0)
        delta -= 2 * std::numbers::pi;
    else if (sweep && delta < 0)
        delta += 2 * std::numbers::pi;
    append_arc_points(centre, rx, ry, phi, start, delta, tolerance, out, false);
    out.push_back(to);   // exactly the given end, free of rounding
}

Polyline flatten_ellipse(Point centre, double rx, double ry, double tolerance)
{
    Polyline ellipse;
    ellipse.closed = true;
    ellipse.points.push_back({centre.x + rx, centre.y});
    append_arc_points(centre, rx, ry, 0, 0, 2 * std::numbers::pi, tolerance, ellipse.points, false);
    return ellipse;
}

double signed_area(const std::vector<Point>& points)
{
    double twice = 0;
    for (std::size_t i = 0, n = points.size(); i < n; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % n];
        twice += p.x * q.y - q.x * p.y;
    }
    return twice / 2;
}

bool point_in_polygon(const std::vector<Point>& polygon, Point point)
{
    bool inside = false;
    for (std::size_t i = 0, n = polygon.size(), j = n - 1; i < n; j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > point.y) != (b.y > point.y)) {
            const double x = a.x + (point.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (point.x < x)
                inside = !inside;
        }
    }
    return inside;
}
