#include "common/pictures.h"

#include <QBitmap>
#include <QFile>

static void initPictureResources()
{
    Q_INIT_RESOURCE(pic);
}

namespace common {

namespace {

void ensureResources()
{
    static const bool done = [] {
        initPictureResources();
        return true;
    }();
    (void)done;
}

}  // namespace

QString picturePath(const QString& name)
{
    ensureResources();
    QString path;
    const QString prefix = QStringLiteral("..\\pic\\");
    if (name.startsWith(prefix))
        path = QStringLiteral(":/pic/") + name.mid(prefix.size());
    else if (name.endsWith(QLatin1Char('!')))
        path = QStringLiteral(":/pic/stock/") + name.chopped(1) + QStringLiteral(".png");
    else
        return {};
    return QFile::exists(path) ? path : QString();
}

QPixmap picture(const QString& name)
{
    const QString path = picturePath(name);
    if (path.isEmpty())
        return {};
    QPixmap pixmap(path);
    // Bitmaps are drawn on the mask colour RGB(192,192,192).
    if (path.endsWith(QStringLiteral(".bmp")))
        pixmap.setMask(pixmap.createMaskFromColor(QColor(192, 192, 192)));
    return pixmap;
}

QIcon treeIcon(const QString& normal, const QString& selected)
{
    QIcon icon;
    icon.addPixmap(picture(normal), QIcon::Normal);
    icon.addPixmap(picture(selected), QIcon::Selected);
    return icon;
}

}  // namespace common
