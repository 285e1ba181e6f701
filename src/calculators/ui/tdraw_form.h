#pragma once

#include "calculators/core/previewgeometry.h"

#include <QImage>
#include <QWidget>

namespace ordalvex {

// The picture of the hole pattern preview: shows a bitmap that keeps whatever is drawn into
// it until it is cleared.
class PreviewPicture : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPicture(QWidget* parent);
    QImage& bitmap() { return m_bitmap; }
    const QImage& bitmap() const { return m_bitmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
};

// The hole pattern preview beside the bolt-hole circle calculator: a coordinate cross, the
// holes as labelled rings and four lines of input values, drawn by the calculator through
// the operations below. Hiding or closing the window frees it.
class TDraw_Form : public QWidget {
    Q_OBJECT
public:
    static QString title() { return QStringLiteral("Połorzenie otworów"); }

    explicit TDraw_Form(QWidget* parent);

    // Fits the picture to the client area and takes its metrics; run whenever the window is
    // shown (and callable before, for a window never shown).
    void FormCreate();
    // Fills the whole picture with white.
    void clear();
    // The coordinate cross with arrow heads and the axis names "X-" and "Y-".
    void DrawAxes();
    // One value line at x; line 1 is the lowest, line 2 the one above it.
    void DrawTextLine(int x, int line, const QString& text);
    // One hole at the angle with cosine c and sine sn, with its label outside the ring.
    void DrawHole(const QString& label, double c, double sn);

    const QImage& image() const;
    const PreviewMetrics& metrics() const { return m_metrics; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // round(base + k · scale), half to even.
    int offset(int base, double k) const;

    PreviewPicture* m_image;
    PreviewMetrics m_metrics;
    int m_fontPoints = 8; // the size last set, used by the hole labels
};

} // namespace ordalvex
