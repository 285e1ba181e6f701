#include "calculators/core/previewgeometry.h"

#include "common/core/numbers.h"

namespace ordalvex {

namespace {

int roundToInt(double v) {
    return int(numbers::roundHalfEven(v));
}

} // namespace

int PreviewMetrics::scaled(double k) const {
    return roundToInt(k * scale);
}

PreviewMetrics previewMetrics(int width, int height) {
    PreviewMetrics m;
    m.width = width;
    m.height = height;
    m.scale = width / 442.0;
    m.cx = width / 2;
    m.cy = roundToInt(height / 2.0);
    m.radius = m.cx / 2;
    return m;
}

QPoint holeCentre(const PreviewMetrics& m, double c, double sn) {
    return {roundToInt(m.cx + m.radius * c), roundToInt(m.cy - m.radius * sn)};
}

QPoint holeLabelTopLeft(const PreviewMetrics& m, QPoint centre, QSize label, double c, double sn) {
    const int gap = m.scaled(12);
    const int left = c >= 0 ? centre.x() + gap : centre.x() - label.width() - gap;
    const int top = sn >= 0 ? centre.y() - label.height() - gap : centre.y() + gap;
    return {left, top};
}

int textLineTop(const PreviewMetrics& m, int line, int fontPixels) {
    return m.height - line * (fontPixels + 6);
}

int pointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

} // namespace ordalvex
