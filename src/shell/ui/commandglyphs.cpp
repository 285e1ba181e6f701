#include "shell/ui/commandglyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ordalvex {

namespace {

constexpr int kSize = 24;

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 80, 170);
const QColor kGreen(20, 130, 60);
const QColor kRed(190, 40, 40);
const QColor kYellow(230, 190, 60);

void page(QPainter& p, const QRectF& r = QRectF(5, 2, 14, 19)) {
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
}

void floppy(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawRect(QRectF(3.5, 3.5, 17, 17));
    p.setBrush(kPaper);
    p.drawRect(QRectF(7.5, 3.5, 9, 6));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(6.5, 13.5, 11, 7));
}

void text(QPainter& p, const QString& s, const QColor& colour, int pixelSize = 11, bool bold = true) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, s);
}

void arrow(QPainter& p, bool right) {
    p.setPen(QPen(kBlue, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal tip = right ? 19 : 5;
    const qreal tail = right ? 5 : 19;
    const qreal back = right ? 13 : 11;
    p.drawLine(QPointF(tail, 12), QPointF(tip, 12));
    p.drawLine(QPointF(back, 6), QPointF(tip, 12));
    p.drawLine(QPointF(back, 18), QPointF(tip, 12));
}

void calculator(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(210, 210, 210));
    p.drawRoundedRect(QRectF(5.5, 2.5, 13, 19), 2, 2);
    p.setBrush(QColor(170, 210, 170));
    p.drawRect(QRectF(7.5, 4.5, 9, 4));
    p.setBrush(kInk);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(7.5 + col * 3.5, 11 + row * 3.5, 1.5, 1.5));
}

void draw(QPainter& p, const QString& name) {
    if (name == QLatin1String("NewSpeedButton")) {
        page(p);
    } else if (name == QLatin1String("OpenSpeedButton")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kYellow);
        p.drawRect(QRectF(2.5, 7.5, 19, 13));
        p.drawRect(QRectF(2.5, 5.5, 7, 2));
    } else if (name == QLatin1String("SaveSpeedButton")) {
        floppy(p);
    } else if (name == QLatin1String("SaveAsSpeedButton")) {
        floppy(p);
        text(p, QStringLiteral("..."), kRed, 10);
    } else if (name == QLatin1String("PrintSpeedButton")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(7.5, 3.5, 9, 7));
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(QRectF(3.5, 10.5, 17, 8));
        p.setBrush(kPaper);
        p.drawRect(QRectF(7.5, 15.5, 9, 5));
    } else if (name == QLatin1String("CutSpeedButton")) {
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(8, 3), QPointF(15, 15));
        p.drawLine(QPointF(16, 3), QPointF(9, 15));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 18), 3, 3);
        p.drawEllipse(QPointF(16, 18), 3, 3);
    } else if (name == QLatin1String("CopySpeedButton")) {
        page(p, QRectF(3.5, 2.5, 11, 14));
        page(p, QRectF(9.5, 7.5, 11, 14));
    } else if (name == QLatin1String("PasteSpeedButton")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(170, 120, 60));
        p.drawRect(QRectF(4.5, 4.5, 14, 17));
        page(p, QRectF(10.5, 9.5, 10, 12));
    } else if (name == QLatin1String("FindSpeedButton") || name == QLatin1String("FindNextSpeedButton")) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QPointF(10, 10), 6, 6);
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.5, 14.5), QPointF(20, 20));
        if (name == QLatin1String("FindNextSpeedButton")) {
            p.setPen(QPen(kGreen, 2));
            p.drawLine(QPointF(17, 3), QPointF(22, 7));
            p.drawLine(QPointF(17, 11), QPointF(22, 7));
        }
    } else if (name == QLatin1String("ReplaceSpeedButton")) {
        text(p, QStringLiteral("A"), kBlue, 11);
        p.setPen(QPen(kRed, 2));
        p.drawLine(QPointF(3, 20), QPointF(21, 20));
        p.drawLine(QPointF(17, 16), QPointF(21, 20));
    } else if (name == QLatin1String("DrillSpeedButton")) {
        p.setPen(QPen(kBlue, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 8, 8);
        p.setBrush(kInk);
        for (const QPointF c : {QPointF(12, 4), QPointF(20, 12), QPointF(12, 20), QPointF(4, 12)})
            p.drawEllipse(c, 2, 2);
    } else if (name == QLatin1String("TrigSpeedButton")) {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(200, 230, 200));
        p.drawPolygon(QPolygonF({QPointF(4, 20), QPointF(20, 20), QPointF(20, 5)}));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(16, 16, 4, 4));
    } else if (name == QLatin1String("ParamSpeedButton")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(180, 180, 190));
        p.drawEllipse(QPointF(12, 12), 8, 8);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(12, 12), 3, 3);
        p.setPen(QPen(kInk, 3));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(12, 12);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, -8), QPointF(0, -11));
            p.restore();
        }
    } else if (name == QLatin1String("SpeedButton1")) {
        text(p, QStringLiteral("mm"), kBlue, 9);
        p.setPen(QPen(kRed, 1.5));
        p.drawLine(QPointF(3, 20), QPointF(21, 20));
    } else if (name == QLatin1String("CalcSpeedButton")) {
        calculator(p);
    } else if (name == QLatin1String("KropkiSpeedButton")) {
        text(p, QStringLiteral("X."), kBlue, 13);
    } else if (name == QLatin1String("SpSpeedButton")) {
        text(p, QStringLiteral("G X"), kBlue, 9);
    } else if (name == QLatin1String("UsunSpSpeedButton")) {
        text(p, QStringLiteral("GX"), kRed, 10);
    } else if (name == QLatin1String("RenumberSpeedButton")) {
        text(p, QStringLiteral("N"), QColor(0, 0, 128), 15);
    } else if (name == QLatin1String("ComPortSpeedButton")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(120, 140, 170));
        p.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(22, 7), QPointF(19, 17), QPointF(5, 17)}));
        p.setBrush(kYellow);
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(6 + i * 3, 10.5), 1, 1);
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(7.5 + i * 3, 13.5), 1, 1);
    } else if (name == QLatin1String("SendSpeedButton") || name == QLatin1String("ReceiveSpeedButton")) {
        // A page and the port's plug with an arrow out of the page or into it.
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 2.5, 10, 14));
        p.setBrush(QColor(120, 140, 170));
        p.drawPolygon(QPolygonF({QPointF(13, 15), QPointF(23, 15), QPointF(21, 21), QPointF(15, 21)}));
        const bool out = name == QLatin1String("SendSpeedButton");
        p.setPen(QPen(QColor(30, 140, 60), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 9), QPointF(19, 9));
        const double tip = out ? 19 : 9;
        const double back = out ? 16 : 12;
        p.drawLine(QPointF(back, 6), QPointF(tip, 9));
        p.drawLine(QPointF(back, 12), QPointF(tip, 9));
    } else if (name == QLatin1String("PrevSpeedButton")) {
        arrow(p, false);
    } else if (name == QLatin1String("NextSpeedButton")) {
        arrow(p, true);
    } else if (name == QLatin1String("ExitSpeedButton")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(5.5, 2.5, 11, 19));
        p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12), QPointF(21, 12));
        p.drawLine(QPointF(18, 9), QPointF(21, 12));
        p.drawLine(QPointF(18, 15), QPointF(21, 12));
    } else {
        p.setPen(QPen(kInk, 1));
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
    }
}

} // namespace

QIcon commandGlyph(const QString& buttonName) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, buttonName);
    painter.end();
    return QIcon(pixmap);
}

} // namespace ordalvex
