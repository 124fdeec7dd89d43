#include "IconDrawings.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// One palette for every drawing, so the tree's icons look like a set.
const QColor kOutline(0x4A, 0x4A, 0x4A);
const QColor kFolderBack(0xD9, 0xA4, 0x2B);
const QColor kFolderFront(0xF5, 0xC8, 0x4C);
const QColor kFolderEdge(0xA8, 0x78, 0x16);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperEdge(0x7A, 0x7A, 0x7A);
const QColor kLine(0x3D, 0x7C, 0xC9);
const QColor kGold(0xE6, 0xB2, 0x22);
const QColor kGoldEdge(0x8F, 0x66, 0x08);
const QColor kTableHead(0x3E, 0x9B, 0x4F);
const QColor kGreen(0x2E, 0x9E, 0x44);

QPen pen(const QColor &color, qreal width = 1.0)
{
    QPen result(color, width);
    result.setJoinStyle(Qt::RoundJoin);
    result.setCapStyle(Qt::RoundCap);
    return result;
}

void page(QPainter &p, bool dogEar)
{
    QPainterPath path;
    path.moveTo(3.5, 1.5);
    path.lineTo(dogEar ? 9.5 : 12.5, 1.5);
    if (dogEar) {
        path.lineTo(12.5, 4.5);
    }
    path.lineTo(12.5, 14.5);
    path.lineTo(3.5, 14.5);
    path.closeSubpath();
    p.setPen(pen(kPaperEdge));
    p.setBrush(kPaper);
    p.drawPath(path);
    if (dogEar) {
        QPainterPath ear;
        ear.moveTo(9.5, 1.5);
        ear.lineTo(9.5, 4.5);
        ear.lineTo(12.5, 4.5);
        p.setBrush(QColor(0xE2, 0xE2, 0xE2));
        p.drawPath(ear);
    }
}

} // namespace

namespace IconDrawings {

void folder(QPainter &p)
{
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 3.0);
    back.quadTo(1.5, 2.5, 2.0, 2.5);
    back.lineTo(6.0, 2.5);
    back.lineTo(7.5, 4.0);
    back.lineTo(14.0, 4.0);
    back.quadTo(14.5, 4.0, 14.5, 4.5);
    back.lineTo(14.5, 13.5);
    back.closeSubpath();
    p.setPen(pen(kFolderEdge));
    p.setBrush(kFolderBack);
    p.drawPath(back);
    p.setBrush(kFolderFront);
    p.drawRoundedRect(QRectF(1.5, 5.5, 13.0, 8.0), 0.8, 0.8);
}

void openFolder(QPainter &p)
{
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 3.0);
    back.quadTo(1.5, 2.5, 2.0, 2.5);
    back.lineTo(6.0, 2.5);
    back.lineTo(7.5, 4.0);
    back.lineTo(12.5, 4.0);
    back.lineTo(12.5, 6.5);
    p.setPen(pen(kFolderEdge));
    p.setBrush(kFolderBack);
    p.drawPath(back);
    // A sheet inside shows the folder is open.
    p.setPen(pen(kPaperEdge));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3.5, 4.5, 8.0, 5.0));
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(4.0, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.0, 13.5);
    front.closeSubpath();
    p.setPen(pen(kFolderEdge));
    p.setBrush(kFolderFront);
    p.drawPath(front);
}

void entry(QPainter &p)
{
    page(p, false);
    p.setPen(pen(kLine, 1.2));
    for (qreal y : {4.5, 7.0, 9.5}) {
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
    }
    p.drawLine(QPointF(5.5, 12.0), QPointF(8.5, 12.0));
}

void key(QPainter &p)
{
    p.setPen(pen(kGoldEdge));
    p.setBrush(kGold);
    QPainterPath shape;
    shape.addEllipse(QPointF(4.5, 8.0), 3.5, 3.5);
    QPainterPath shaft;
    shaft.addRect(QRectF(7.0, 7.0, 8.0, 2.2));
    shaft.addRect(QRectF(11.0, 9.0, 1.8, 2.8));
    shaft.addRect(QRectF(13.4, 9.0, 1.6, 2.0));
    shape = shape.united(shaft);
    QPainterPath hole;
    hole.addEllipse(QPointF(3.6, 8.0), 1.2, 1.2);
    p.drawPath(shape.subtracted(hole));
}

void file(QPainter &p)
{
    page(p, true);
    // A paper clip marks an attached file.
    p.setPen(pen(kOutline, 1.1));
    p.setBrush(Qt::NoBrush);
    QPainterPath clip;
    clip.moveTo(9.0, 11.5);
    clip.lineTo(9.0, 6.5);
    clip.arcTo(QRectF(6.0, 5.0, 3.0, 3.0), 0, 180);
    clip.lineTo(6.0, 12.0);
    clip.arcTo(QRectF(6.0, 11.0, 2.0, 2.0), 180, 180);
    clip.lineTo(8.0, 7.5);
    p.drawPath(clip);
}

void table(QPainter &p)
{
    const QRectF frame(1.5, 2.5, 13.0, 11.0);
    p.setPen(pen(kPaperEdge));
    p.setBrush(kPaper);
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(kTableHead);
    p.drawRect(QRectF(2.0, 3.0, 12.0, 2.5));
    p.setPen(pen(kPaperEdge, 0.8));
    for (qreal y : {5.5, 8.17, 10.83}) {
        p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    }
    for (qreal x : {5.83, 10.17}) {
        p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
    }
}

void dice(QPainter &p)
{
    p.setPen(pen(kOutline));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13.0, 13.0), 3.0, 3.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC0, 0x1C, 0x28));
    for (QPointF pip : {QPointF(4.8, 4.8), QPointF(11.2, 4.8), QPointF(8.0, 8.0), QPointF(4.8, 11.2),
                        QPointF(11.2, 11.2)}) {
        p.drawEllipse(pip, 1.4, 1.4);
    }
}

void plusEmblem(QPainter &p)
{
    p.setPen(pen(Qt::white, 1.2));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(8.0, 8.0), 7.2, 7.2);
    p.setPen(pen(Qt::white, 2.6));
    p.drawLine(QPointF(8.0, 4.0), QPointF(8.0, 12.0));
    p.drawLine(QPointF(4.0, 8.0), QPointF(12.0, 8.0));
}

void keyEmblem(QPainter &p)
{
    // The key drawing reads at emblem size when it has a light backing.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRoundedRect(QRectF(0, 2, 16, 12), 3, 3);
    key(p);
}

void vault(QPainter &p)
{
    p.setPen(pen(QColor(0x1F, 0x3B, 0x63)));
    p.setBrush(QColor(0x2F, 0x5D, 0x9A));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 15.0), 3.0, 3.0);
    p.save();
    p.translate(0.5, 0.3);
    key(p);
    p.restore();
}

} // namespace IconDrawings
