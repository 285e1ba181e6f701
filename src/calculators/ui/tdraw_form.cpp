#include "calculators/ui/tdraw_form.h"

#include "common/core/numbers.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace ordalvex {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kMaroon(128, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);

QFont drawingFont(int points) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    // Sizes are in points of a 96 dpi screen, whatever the bitmap's own resolution.
    font.setPixelSize(std::max(1, pointsToPixels(points)));
    // Plain pixels in the drawing's exact colours.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

PreviewPicture::PreviewPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(0, 0, m_bitmap);
}

TDraw_Form::TDraw_Form(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_image(new PreviewPicture(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title());
    setMinimumSize(310, 260);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_image);
    resize(minimumSize());
}

void TDraw_Form::FormCreate() {
    const QSize size = this->size();
    QImage& bitmap = m_image->bitmap();
    if (bitmap.size() != size) {
        QImage resized(size, QImage::Format_RGB32);
        resized.fill(Qt::white);
        QPainter(&resized).drawImage(0, 0, bitmap);
        bitmap = resized;
    }
    m_image->resize(size);
    m_metrics = previewMetrics(size.width(), size.height());
}

void TDraw_Form::clear() {
    m_image->bitmap().fill(Qt::white);
    m_image->update();
}

void TDraw_Form::DrawAxes() {
    const auto& m = m_metrics;
    const int w = m.width, h = m.height;
    const auto at = [&](int base, double k) { return offset(base, k); };
    QPainter painter(&m_image->bitmap());
    painter.setPen(QPen(kBlack, 0));
    painter.drawLine(2, m.cy, w - 2, m.cy);
    const QPoint tip(at(w, -1), m.cy);
    const QPoint upper(at(w, -8), at(m.cy, -7));
    const QPoint lower(at(w, -8), at(m.cy, 7));
    painter.drawLine(tip, upper);
    painter.drawLine(upper, lower);
    painter.drawLine(lower, tip);

    painter.drawLine(m.cx, 2, m.cx, h - 2);
    const QPoint top(m.cx, 1);
    const QPoint left(at(m.cx, -7), at(0, 8));
    const QPoint right(at(m.cx, 7), at(0, 8));
    painter.drawLine(top, left);
    painter.drawLine(left, right);
    painter.drawLine(right, top);

    m_fontPoints = 8;
    painter.setFont(drawingFont(m_fontPoints));
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
    painter.drawText(QRect(w - 25, m.cy - 17, 0, 0), flags, QStringLiteral("X-"));
    painter.drawText(QRect(m.cx + 8, 11, 0, 0), flags, QStringLiteral("Y-"));
    m_image->update();
}

void TDraw_Form::DrawTextLine(int x, int line, const QString& text) {
    m_fontPoints = m_metrics.scaled(7);
    const QFont font = drawingFont(m_fontPoints);
    QPainter painter(&m_image->bitmap());
    painter.setPen(kGreen);
    painter.setFont(font);
    const int top = textLineTop(m_metrics, line, font.pixelSize());
    painter.drawText(QRect(x, top, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    m_image->update();
}

void TDraw_Form::DrawHole(const QString& label, double c, double sn) {
    const auto& m = m_metrics;
    const QPoint centre = holeCentre(m, c, sn);
    const int x = centre.x(), y = centre.y();
    const auto at = [&](int base, double k) { return offset(base, k); };

    QPainter painter(&m_image->bitmap());
    painter.setPen(QPen(kMaroon, 0));
    painter.setBrush(Qt::white);
    // A rect of width 14s is outlined over 14s + 1 pixels: the ring is centred on the hole.
    const int left = at(x, -7), top = at(y, -7);
    painter.drawEllipse(QRect(left, top, at(x, 7) - left, at(y, 7) - top));
    painter.setPen(QPen(kGrey, 0));
    painter.drawLine(at(x, 9), y, at(x, -11), y);
    painter.drawLine(x, at(y, 9), x, at(y, -11));

    const QFont font = drawingFont(m_fontPoints);
    const QFontMetrics fm(font);
    const QSize labelSize(fm.horizontalAdvance(label), fm.height());
    painter.setPen(kBlue);
    painter.setFont(font);
    const QPoint topLeft = holeLabelTopLeft(m, centre, labelSize, c, sn);
    painter.drawText(QRect(topLeft, labelSize), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, label);
    m_image->update();
}

int TDraw_Form::offset(int base, double k) const {
    return int(numbers::roundHalfEven(base + k * m_metrics.scale));
}

const QImage& TDraw_Form::image() const {
    return m_image->bitmap();
}

void TDraw_Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormCreate();
}

void TDraw_Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A hidden preview is done with; minimising (a spontaneous hide) is not hiding it.
    if (!event->spontaneous())
        close();
}

} // namespace ordalvex
