// Draws the module's pictures into common/pic/ (run by hand when a picture
// changes: make_pictures <common/pic>). Bitmaps use RGB(192,192,192) as their
// mask colour; the windows make that colour transparent.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>

namespace {

const QColor kMask(192, 192, 192);

QImage canvas(int w, int h, const QColor& background)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

void save(const QImage& image, const QString& dir, const QString& name)
{
    const QString path = QDir(dir).filePath(name);
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
}

// Draws with antialiasing but without blending into the mask colour: the
// edges are drawn over a neutral background and then snapped, so that no
// grey fringe survives the mask.
QImage drawn(int w, int h, const std::function<void(QPainter&)>& paint)
{
    QImage art(w, h, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p);
    }
    QImage out = canvas(w, h, kMask);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QColor c = QColor::fromRgba(art.pixel(x, y));
            if (c.alpha() < 96)
                continue;
            QColor solid = c;
            solid.setAlpha(255);
            if (solid == kMask)
                solid = QColor(191, 191, 191);
            out.setPixel(x, y, solid.rgb());
        }
    }
    return out;
}

void person(QPainter& p, QPointF at, double scale, const QColor& body)
{
    p.setPen(QPen(body.darker(160), 1.0));
    QRadialGradient head(at + QPointF(-1 * scale, -1 * scale), 4 * scale);
    head.setColorAt(0, QColor(255, 236, 214));
    head.setColorAt(1, QColor(232, 184, 140));
    p.setBrush(head);
    p.drawEllipse(at, 3.6 * scale, 3.6 * scale);
    QPainterPath torso;
    torso.moveTo(at + QPointF(-6.5 * scale, 11 * scale));
    torso.cubicTo(at + QPointF(-6.5 * scale, 4 * scale), at + QPointF(6.5 * scale, 4 * scale),
                  at + QPointF(6.5 * scale, 11 * scale));
    torso.closeSubpath();
    QLinearGradient fill(at + QPointF(0, 4 * scale), at + QPointF(0, 11 * scale));
    fill.setColorAt(0, body.lighter(130));
    fill.setColorAt(1, body.darker(120));
    p.setBrush(fill);
    p.drawPath(torso);
}

void document(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(90, 90, 110), 1.2));
    p.setBrush(QColor(252, 252, 244));
    p.drawRect(r);
    p.setPen(QPen(QColor(140, 160, 200), 1.2));
    for (double y = r.top() + 5; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void badge(QPainter& p, QPointF c, double r, const QColor& colour)
{
    QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.4);
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour.darker(130));
    p.setPen(QPen(colour.darker(170), 1));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void plus(QPainter& p, QPointF c, double r)
{
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
}

void minus(QPainter& p, QPointF c, double r)
{
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
}

void building(QPainter& p, QRectF r, const QColor& wall)
{
    p.setPen(QPen(wall.darker(170), 1));
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, wall.lighter(120));
    g.setColorAt(1, wall.darker(115));
    p.setBrush(g);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 150));
    const double cw = r.width() / 4;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 2; ++col)
            p.drawRect(QRectF(r.left() + cw * (0.6 + col * 1.8), r.top() + 3 + row * (r.height() / 4),
                              cw * 0.9, r.height() / 8));
}

QImage accounting()  // the group picture of the list: a group of operators
{
    return drawn(32, 32, [](QPainter& p) {
        person(p, {10, 11}, 1.05, QColor(70, 120, 200));
        person(p, {22, 11}, 1.05, QColor(70, 160, 110));
        person(p, {16, 17}, 1.25, QColor(210, 120, 50));
    });
}

QImage service()  // the department picture of the list: an office building
{
    return drawn(32, 32, [](QPainter& p) {
        building(p, QRectF(6, 5, 16, 24), QColor(120, 150, 190));
        building(p, QRectF(20, 13, 8, 16), QColor(170, 140, 110));
    });
}

QImage aqua()  // the member picture of the list: a person on an aqua disc
{
    QImage out = canvas(32, 32, Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(12, 10), 20);
    g.setColorAt(0, QColor(200, 245, 255));
    g.setColorAt(0.6, QColor(40, 170, 210));
    g.setColorAt(1, QColor(10, 90, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 14.5, 14.5);
    person(p, {16, 12}, 1.2, QColor(245, 245, 250));
    return out;
}

QImage addPicture()
{
    return drawn(32, 32, [](QPainter& p) {
        document(p, QRectF(4, 3, 18, 24));
        badge(p, {22, 22}, 7.5, QColor(40, 160, 60));
        plus(p, {22, 22}, 4);
    });
}

QImage editPicture()
{
    return drawn(32, 32, [](QPainter& p) {
        document(p, QRectF(4, 3, 18, 24));
        p.save();
        p.translate(20, 18);
        p.rotate(45);
        p.setPen(QPen(QColor(90, 60, 20), 1));
        p.setBrush(QColor(250, 200, 60));
        p.drawRect(QRectF(-3, -12, 6, 18));
        p.setBrush(QColor(240, 210, 170));
        QPolygonF tip;
        tip << QPointF(-3, 6) << QPointF(3, 6) << QPointF(0, 11);
        p.drawPolygon(tip);
        p.setBrush(QColor(230, 120, 140));
        p.drawRect(QRectF(-3, -15, 6, 3));
        p.restore();
    });
}

QImage deletePicture()
{
    return drawn(32, 32, [](QPainter& p) {
        document(p, QRectF(4, 3, 18, 24));
        p.setPen(QPen(QColor(200, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 15), QPointF(27, 27));
        p.drawLine(QPointF(27, 15), QPointF(15, 27));
    });
}

QImage exitPicture()
{
    return drawn(32, 32, [](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 30), 1.2));
        p.setBrush(QColor(170, 110, 60));
        p.drawRect(QRectF(5, 3, 14, 26));
        p.setBrush(QColor(250, 220, 80));
        p.drawEllipse(QPointF(16, 16), 1.5, 1.5);
        p.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(17, 16), QPointF(29, 16));
        p.drawLine(QPointF(24, 11), QPointF(29, 16));
        p.drawLine(QPointF(24, 21), QPointF(29, 16));
    });
}

QImage rightsPicture()  // a key over a shield: the rights of a group
{
    return drawn(32, 32, [](QPainter& p) {
        QPainterPath shield;
        shield.moveTo(16, 3);
        shield.lineTo(27, 7);
        shield.cubicTo(27, 18, 22, 25, 16, 29);
        shield.cubicTo(10, 25, 5, 18, 5, 7);
        shield.closeSubpath();
        QLinearGradient g(5, 3, 27, 29);
        g.setColorAt(0, QColor(120, 170, 240));
        g.setColorAt(1, QColor(30, 70, 160));
        p.setPen(QPen(QColor(20, 40, 100), 1));
        p.setBrush(g);
        p.drawPath(shield);
        p.setPen(QPen(QColor(250, 210, 60), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 11), 3.5, 3.5);
        p.drawLine(QPointF(16, 14.5), QPointF(16, 24));
        p.drawLine(QPointF(16, 20), QPointF(19, 20));
        p.drawLine(QPointF(16, 23), QPointF(19, 23));
    });
}

QImage changePicture()  // two arrows between two groups
{
    return drawn(32, 32, [](QPainter& p) {
        badge(p, {8, 9}, 5.5, QColor(70, 120, 200));
        badge(p, {24, 23}, 5.5, QColor(70, 160, 110));
        p.setPen(QPen(QColor(220, 110, 30), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(8, 4, 18, 18), 0 * 16, 90 * 16);
        p.drawLine(QPointF(26, 13), QPointF(23, 10));
        p.drawLine(QPointF(26, 13), QPointF(28.5, 9.5));
        p.drawArc(QRectF(6, 10, 18, 18), 180 * 16, 90 * 16);
        p.drawLine(QPointF(6, 19), QPointF(9, 22));
        p.drawLine(QPointF(6, 19), QPointF(3.5, 22.5));
    });
}

QImage importPicture()  // people coming into a box: batch add
{
    return drawn(32, 32, [](QPainter& p) {
        p.setPen(QPen(QColor(110, 80, 40), 1));
        p.setBrush(QColor(210, 170, 110));
        p.drawRect(QRectF(4, 17, 24, 12));
        person(p, {11, 6}, 0.8, QColor(70, 120, 200));
        person(p, {21, 6}, 0.8, QColor(70, 160, 110));
        badge(p, {26, 24}, 5, QColor(40, 160, 60));
        plus(p, {26, 24}, 2.6);
    });
}

QImage batchDeletePicture()
{
    return drawn(32, 32, [](QPainter& p) {
        p.setPen(QPen(QColor(110, 80, 40), 1));
        p.setBrush(QColor(210, 170, 110));
        p.drawRect(QRectF(4, 17, 24, 12));
        person(p, {11, 6}, 0.8, QColor(70, 120, 200));
        person(p, {21, 6}, 0.8, QColor(70, 160, 110));
        badge(p, {26, 24}, 5, QColor(200, 40, 40));
        minus(p, {26, 24}, 2.6);
    });
}

QImage processBar()
{
    QImage out(400, 6, QImage::Format_RGB32);
    QPainter p(&out);
    QLinearGradient g(0, 0, 0, 6);
    g.setColorAt(0, QColor(170, 230, 150));
    g.setColorAt(0.5, QColor(60, 170, 70));
    g.setColorAt(1, QColor(20, 110, 40));
    p.fillRect(out.rect(), g);
    p.setPen(QColor(255, 255, 255, 60));
    for (int x = 0; x < 400; x += 8)
        p.drawLine(x, 0, x + 5, 5);
    return out;
}

QImage stock(const std::function<void(QPainter&)>& paint)
{
    QImage art(16, 16, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return art;
}

void tree(QPainter& p, const QColor& top, const QColor& leaves)
{
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.drawLine(QPointF(8, 6), QPointF(8, 9));
    p.drawLine(QPointF(3.5, 9), QPointF(12.5, 9));
    p.drawLine(QPointF(3.5, 9), QPointF(3.5, 11));
    p.drawLine(QPointF(12.5, 9), QPointF(12.5, 11));
    p.setBrush(top);
    p.drawRect(QRectF(5, 1, 6, 5));
    p.setBrush(leaves);
    p.drawRect(QRectF(1, 11, 5, 4));
    p.drawRect(QRectF(10, 11, 5, 4));
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("pic");
    QDir().mkpath(dir + QStringLiteral("/stock"));

    save(accounting(), dir, QStringLiteral("会计核算.bmp"));
    save(service(), dir, QStringLiteral("客户服务.bmp"));
    save(aqua(), dir, QStringLiteral("AQUA16.jpg"));
    save(addPicture(), dir, QStringLiteral("2condition.bmp"));
    save(editPicture(), dir, QStringLiteral("changepwd.bmp"));
    save(deletePicture(), dir, QStringLiteral("2delet.bmp"));
    save(exitPicture(), dir, QStringLiteral("exit.bmp"));
    save(rightsPicture(), dir, QStringLiteral("分析.bmp"));
    save(changePicture(), dir, QStringLiteral("sku.bmp"));
    save(importPicture(), dir, QStringLiteral("2import.bmp"));
    save(batchDeletePicture(), dir, QStringLiteral("stockinprp.bmp"));
    // Qt writes no GIF: the bar is written as PNG and converted by the caller.
    save(processBar(), dir, QStringLiteral("process-green.png"));

    const QString stockDir = dir + QStringLiteral("/stock");
    save(stock([](QPainter& p) { tree(p, QColor(90, 140, 220), QColor(250, 200, 80)); }), stockDir,
         QStringLiteral("Structure5.png"));
    save(stock([](QPainter& p) { tree(p, QColor(200, 90, 70), QColor(120, 180, 230)); }), stockDir,
         QStringLiteral("Structure.png"));
    save(stock([](QPainter& p) {
             person(p, {5.5, 5}, 0.55, QColor(70, 120, 200));
             person(p, {10.5, 5}, 0.55, QColor(70, 160, 110));
             person(p, {8, 8}, 0.65, QColor(210, 120, 50));
         }),
         stockDir, QStringLiteral("Group.png"));
    save(stock([](QPainter& p) { building(p, QRectF(3, 2, 10, 13), QColor(120, 150, 190)); }), stockDir,
         QStringLiteral("Custom020.png"));
    save(stock([](QPainter& p) {
             p.setPen(QPen(QColor(30, 110, 30), 1));
             p.setBrush(QColor(90, 200, 90));
             QPolygonF arrow;
             arrow << QPointF(3, 3) << QPointF(13, 8) << QPointF(3, 13) << QPointF(6, 8);
             p.drawPolygon(arrow);
         }),
         stockDir, QStringLiteral("Custom050.png"));
    return 0;
}
