#pragma once

#include <QPoint>
#include <QSize>

namespace ordalvex {

// Geometry of the hole pattern preview, in picture pixels (x to the right, y downward). The
// drawing was laid out for a picture 442 pixels wide; `scale` stretches it to other widths.
struct PreviewMetrics {
    int width = 0;
    int height = 0;
    double scale = 0; // width / 442
    int cx = 0;       // width / 2, truncated
    int cy = 0;       // height / 2, rounded half to even
    int radius = 0;   // screen radius of the hole circle: cx / 2, truncated

    // round(k · scale), half to even: a length of k pixels at the reference width.
    int scaled(double k) const;
};

PreviewMetrics previewMetrics(int width, int height);

// Centre of the hole at the angle with cosine c and sine sn (counter-clockwise on screen).
QPoint holeCentre(const PreviewMetrics& m, double c, double sn);

// Top-left corner of a hole's label of the given size, outside the ring on the side away from
// the centre: right of the hole when c ≥ 0 else left, above when sn ≥ 0 else below.
QPoint holeLabelTopLeft(const PreviewMetrics& m, QPoint centre, QSize label, double c, double sn);

// Top edge of text line `line` (1 the lowest) for a font `fontPixels` pixels high.
int textLineTop(const PreviewMetrics& m, int line, int fontPixels);

// Pixel height of a font of `points` points on a 96 dpi surface, rounded half away from zero.
int pointsToPixels(int points);

} // namespace ordalvex
