#include "rightsetup/pictures.h"

#include "common/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace rightsetup {

namespace {

constexpr int kSize = 32;

// A module: a stack of index cards with a tab, lines of text and a green
// plus (a new entry in the index).
void drawCreateIndex(QPainter& p)
{
    const QColor outline(70, 80, 110);
    p.setPen(QPen(outline, 1.0));
    for (int i = 2; i >= 0; --i) {
        const QRectF card(3 + 2 * i, 9 - 3 * i, 20, 15);
        QPainterPath shape;
        shape.moveTo(card.left(), card.top());
        shape.lineTo(card.left() + 7, card.top());
        shape.lineTo(card.left() + 8.5, card.top() - 3);
        shape.lineTo(card.left() + 14, card.top() - 3);
        shape.lineTo(card.left() + 15.5, card.top());
        shape.lineTo(card.right(), card.top());
        shape.lineTo(card.right(), card.bottom());
        shape.lineTo(card.left(), card.bottom());
        shape.closeSubpath();
        QLinearGradient fill(card.topLeft(), card.bottomRight());
        fill.setColorAt(0, QColor(255, 252, 230).darker(100 + 8 * i));
        fill.setColorAt(1, QColor(236, 222, 170).darker(100 + 8 * i));
        p.setBrush(fill);
        p.drawPath(shape);
    }
    p.setPen(QPen(QColor(110, 130, 190), 1.0));
    for (int line = 0; line < 3; ++line)
        p.drawLine(QPointF(6, 12.5 + 3 * line), QPointF(20, 12.5 + 3 * line));
    p.setPen(QPen(QColor(20, 90, 30), 1.0));
    p.setBrush(QColor(60, 170, 70));
    p.drawEllipse(QPointF(24, 24), 6.5, 6.5);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 20.5), QPointF(24, 27.5));
    p.drawLine(QPointF(20.5, 24), QPointF(27.5, 24));
}

// Any other item: books standing on a shelf.
void drawLibrary(QPainter& p)
{
    struct Book {
        double x, width, height;
        QColor colour;
    };
    const Book books[] = {{3, 6, 22, QColor(170, 40, 40)},
                          {9.5, 5, 19, QColor(40, 90, 170)},
                          {15, 7, 24, QColor(50, 130, 70)}};
    for (const Book& book : books) {
        const QRectF spine(book.x, 27 - book.height, book.width, book.height);
        QLinearGradient fill(spine.topLeft(), spine.topRight());
        fill.setColorAt(0, book.colour.lighter(135));
        fill.setColorAt(1, book.colour.darker(130));
        p.setPen(QPen(book.colour.darker(180), 1.0));
        p.setBrush(fill);
        p.drawRect(spine);
        p.setPen(QPen(QColor(240, 210, 110), 1.0));
        p.drawLine(QPointF(spine.left() + 1, spine.top() + 3), QPointF(spine.right() - 1, spine.top() + 3));
        p.drawLine(QPointF(spine.left() + 1, spine.bottom() - 3), QPointF(spine.right() - 1, spine.bottom() - 3));
    }
    // A leaning book.
    p.save();
    p.translate(23, 27);
    p.rotate(-18);
    const QRectF leaning(0, -20, 5.5, 20);
    p.setPen(QPen(QColor(110, 70, 20), 1.0));
    p.setBrush(QColor(200, 140, 50));
    p.drawRect(leaning);
    p.restore();
    p.setPen(QPen(QColor(90, 60, 30), 1.0));
    p.setBrush(QColor(150, 100, 50));
    p.drawRect(QRectF(1, 27, 30, 3));
}

QPixmap painted(void (*paint)(QPainter&))
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pixmap;
}

}  // namespace

QPixmap stockPicture(const QString& name)
{
    const QPixmap packed = common::picture(name);
    if (!packed.isNull())
        return packed;
    if (name == QStringLiteral("CreateIndex!"))
        return painted(drawCreateIndex);
    if (name == QStringLiteral("Library!"))
        return painted(drawLibrary);
    return {};
}

}  // namespace rightsetup
