#include "browser/ui/browsericons.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ordalvex {

namespace {

QIcon drawIcon(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

QIcon drawFolderIcon() {
    return drawIcon([](QPainter& p) {
        p.setPen(QColor(150, 110, 20));
        p.setBrush(QColor(240, 200, 80));
        QPainterPath tab;
        tab.moveTo(1.5, 3.5);
        tab.lineTo(6.5, 3.5);
        tab.lineTo(8, 5.5);
        tab.lineTo(14.5, 5.5);
        tab.lineTo(14.5, 13.5);
        tab.lineTo(1.5, 13.5);
        tab.closeSubpath();
        p.drawPath(tab);
    });
}

QIcon drawFileIcon() {
    return drawIcon([](QPainter& p) {
        p.setPen(QColor(90, 90, 90));
        p.setBrush(Qt::white);
        QPainterPath page;
        page.moveTo(3.5, 1.5);
        page.lineTo(10, 1.5);
        page.lineTo(12.5, 4);
        page.lineTo(12.5, 14.5);
        page.lineTo(3.5, 14.5);
        page.closeSubpath();
        p.drawPath(page);
        p.setPen(QColor(120, 140, 200));
        for (int y = 5; y <= 12; y += 2)
            p.drawLine(QPointF(5, y + 0.5), QPointF(11, y + 0.5));
    });
}

QIcon drawProgramIcon() {
    return drawIcon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 170));
        p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
        p.setPen(QPen(Qt::white, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4.5, 4, 7, 8));
    });
}

QIcon drawCommentIcon() {
    return drawIcon([](QPainter& p) {
        p.setPen(QColor(40, 120, 40));
        p.setBrush(QColor(200, 240, 190));
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(1.5, 2.5, 13, 9), 3, 3);
        bubble.moveTo(4, 11.5);
        bubble.lineTo(4, 14.5);
        bubble.lineTo(7.5, 11.5);
        p.drawPath(bubble.simplified());
    });
}

} // namespace

LineIcons drawLineIcons() {
    return {drawFolderIcon(), drawFileIcon(), drawProgramIcon(), drawCommentIcon()};
}

} // namespace ordalvex
