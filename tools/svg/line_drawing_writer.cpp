#include "line_drawing_writer.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

using Run = std::vector<Point>;

double segment_length(Point a, Point b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

// Shares out extra pieces in proportion to the weights, whole pieces first, then the
// largest remainders (ties to the earlier entry).
std::vector<int> share_out(const std::vector<double>& weights, int extra)
{
    std::vector<int> shares(weights.size(), 0);
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    if (extra <= 0 || weights.empty())
        return shares;
    std::vector<double> remainders(weights.size(), 0);
    int given = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        const double exact = total > 0 ? extra * weights[i] / total : double(extra) / weights.size();
        shares[i] = static_cast<int>(std::floor(exact));
        remainders[i] = exact - shares[i];
        given += shares[i];
    }
    std::vector<std::size_t> order(weights.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return remainders[a] > remainders[b]; });
    for (std::size_t k = 0; given < extra; k = (k + 1) % order.size(), ++given)
        ++shares[order[k]];
    return shares;
}

// Every segment keeps its end points and is cut into 1 + its share of equal pieces.
void cut_segments(std::vector<Run>& runs, int target)
{
    std::vector<double> lengths;
    for (const Run& run : runs)
        for (std::size_t i = 1; i < run.size(); ++i)
            lengths.push_back(segment_length(run[i - 1], run[i]));
    const std::vector<int> shares = share_out(lengths, target - static_cast<int>(lengths.size()));
    std::size_t next = 0;
    for (Run& run : runs) {
        Run cut{run.front()};
        for (std::size_t i = 1; i < run.size(); ++i) {
            const int pieces = 1 + shares[next++];
            for (int k = 1; k <= pieces; ++k) {
                const double t = double(k) / pieces;
                cut.push_back({run[i - 1].x + t * (run[i].x - run[i - 1].x),
                               run[i - 1].y + t * (run[i].y - run[i - 1].y)});
            }
        }
        run = std::move(cut);
    }
}

Point point_at(const Run& run, const std::vector<double>& distance, double at)
{
    const std::size_t i =
        static_cast<std::size_t>(std::upper_bound(distance.begin(), distance.end(), at) - distance.begin());
    if (i >= run.size())
        return run.back();
    const double span = distance[i] - distance[i - 1];
    const double t = span > 0 ? (at - distance[i - 1]) / span : 0;
    return {run[i - 1].x + t * (run[i].x - run[i - 1].x), run[i - 1].y + t * (run[i].y - run[i - 1].y)};
}

// Fewer segments than drawn: each run is resampled at even steps along its length.
void resample_runs(std::vector<Run>& runs, int target)
{
    std::vector<double> lengths;
    for (const Run& run : runs) {
        double length = 0;
        for (std::size_t i = 1; i < run.size(); ++i)
            length += segment_length(run[i - 1], run[i]);
        lengths.push_back(length);
    }
    const std::vector<int> shares = share_out(lengths, target - static_cast<int>(runs.size()));
    for (std::size_t r = 0; r < runs.size(); ++r) {
        Run& run = runs[r];
        std::vector<double> distance{0};
        for (std::size_t i = 1; i < run.size(); ++i)
            distance.push_back(distance.back() + segment_length(run[i - 1], run[i]));
        const int pieces = 1 + shares[r];
        Run sampled;
        for (int k = 0; k <= pieces; ++k)
            sampled.push_back(k == pieces ? run.back() : point_at(run, distance, lengths[r] * k / pieces));
        run = std::move(sampled);
    }
}

int segment_count(const std::vector<Run>& runs)
{
    int count = 0;
    for (const Run& run : runs)
        count += static_cast<int>(run.size()) - 1;
    return count;
}

int clamp_round(double value, int highest)
{
    return static_cast<int>(std::lround(std::clamp(value, 0.0, double(highest))));
}

}   // namespace

Point line_drawing_point(const SvgDrawing& drawing, Point user)
{
    const double scale = pixels_per_unit(drawing, OutputKind::line_drawing);
    const double left = (320 - drawing.view_width * scale) / 2;
    const double top = (200 - drawing.view_height * scale) / 2;
    // Pixel n covers quarter pixels 4n - 2 .. 4n + 1, its centre at 4n.
    return Point{4 * ((user.x - drawing.view_x) * scale + left) - 2,
                 4 * ((user.y - drawing.view_y) * scale + top) - 2};
}

bool write_line_drawing(const SvgDrawing& drawing, std::string& out, LineDrawingSummary& summary,
                        Diagnostics& diagnostics)
{
    std::vector<Run> runs;
    for (const PaintedShape& shape : drawing.shapes) {
        if (shape.filled)
            add_warning(diagnostics, shape.line, 0,
                        "<" + shape.element +
                            "> fill cannot be shown in a line drawing; "
                            "only its stroke is kept");
        if (!shape.stroked)
            continue;
        for (const Polyline& outline : shape.outlines) {
            Run run;
            for (const Point& user : outline.points)
                run.push_back(line_drawing_point(drawing, user));
            if (outline.closed && run.size() > 2)
                run.push_back(run.front());
            if (run.size() >= 2)
                runs.push_back(std::move(run));
        }
    }
    if (runs.size() > static_cast<std::size_t>(line_drawing_polylines)) {
        add_error(diagnostics, 0, 0,
                  "the drawing has " + std::to_string(runs.size()) +
                      " stroked lines; a line drawing holds at most " +
                      std::to_string(line_drawing_polylines));
        return false;
    }
    const int target = drawing.segments;
    if (target > 0 && target < static_cast<int>(runs.size())) {
        add_error(diagnostics, 0, 0,
                  "data-segments " + std::to_string(target) + " is fewer than the drawing's " +
                      std::to_string(runs.size()) + " lines");
        return false;
    }
    if (target > 0 && target >= segment_count(runs))
        cut_segments(runs, target);
    else if (target > 0)
        resample_runs(runs, target);
    out.clear();
    for (const Run& run : runs) {
        out += std::to_string(run.size());
        for (const Point& p : run) {
            // The file holds twice the quarter-pixel value, y shifted down by 104 rows' worth.
            out += ' ' + std::to_string(2 * clamp_round(p.x, 1279));
            out += ' ' + std::to_string(2 * (clamp_round(p.y, 799) + 104));
        }
        out += '\n';
    }
    out += "-1\n";
    summary.polylines = static_cast<int>(runs.size());
    summary.segments = segment_count(runs);
    return true;
}
