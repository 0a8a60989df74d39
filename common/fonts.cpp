#include "common/fonts.h"

#include <QStringList>

namespace common {

QFont songti(int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    return font;
}

QFont arial(int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace common
