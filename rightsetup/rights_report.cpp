#include "rightsetup/rights_report.h"

#include "host/transaction.h"
#include "rightsetup/report_content.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

namespace rightsetup {

namespace {

using Kind = ReportBlock::Kind;

constexpr int kResolution = 300;

void setUp(QPdfWriter& writer)
{
    writer.setTitle(QStringLiteral("权限审查报告"));
    writer.setCreator(QStringLiteral("wms-rights"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setResolution(kResolution);
}

// Device pixels of `points`.
qreal px(qreal points)
{
    return points * kResolution / 72.0;
}

QFont fontOf(Kind kind)
{
    QFont font;
    switch (kind) {
    case Kind::Title:
        font.setPointSizeF(16);
        break;
    case Kind::Chapter:
        font.setPointSizeF(13);
        break;
    case Kind::Heading:
        font.setPointSizeF(11);
        break;
    default:
        font.setPointSizeF(9);
    }
    font.setBold(kind != Kind::Text && kind != Kind::Row);
    return font;
}

// Space above and below a block, in points.
QPair<qreal, qreal> spacingOf(Kind kind)
{
    switch (kind) {
    case Kind::Title:
        return {0, 6};
    case Kind::Text:
        return {2, 2};
    case Kind::Chapter:
        return {13, 6};
    case Kind::Heading:
        return {9, 4};
    default:
        return {0, 0};
    }
}

// The share of the width each column of a table takes.
QList<qreal> columnsOf(qsizetype count)
{
    if (count == 3)
        return {0.2, 0.55, 0.25};
    if (count == 4)
        return {0.14, 0.36, 0.14, 0.36};
    return QList<qreal>(count, 1.0 / qreal(count));
}

// Lays `text` out in `width`, wrapping at word boundaries or, for a word
// too long, anywhere; draws it at `at` when given a painter. Its height.
qreal textBlock(const QString& text, const QFont& font, QPaintDevice* device, qreal width, QPainter* painter = nullptr,
                QPointF at = {})
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    if (painter)
        layout.draw(painter, at);
    return height;
}

// Measures a block in `width`, and draws it at `top` when given a painter.
// Its height.
qreal render(const ReportBlock& block, QPaintDevice* device, qreal width, QPainter* painter = nullptr, qreal top = 0)
{
    const QFont font = fontOf(block.kind);
    if (block.kind != Kind::TableHeader && block.kind != Kind::Row) {
        const auto [above, below] = spacingOf(block.kind);
        const qreal text = textBlock(block.cells.value(0), font, device, width, painter, QPointF(0, top + px(above)));
        return px(above) + text + px(below);
    }
    const qreal pad = px(2);
    const QList<qreal> columns = columnsOf(block.cells.size());
    qreal height = 0;
    for (qsizetype c = 0; c < block.cells.size(); ++c)
        height = qMax(height, textBlock(block.cells.at(c), font, device, columns.at(c) * width - 2 * pad));
    height += 2 * pad;
    if (!painter)
        return height;
    qreal left = 0;
    for (qsizetype c = 0; c < block.cells.size(); ++c) {
        const QRectF cell(left, top, columns.at(c) * width, height);
        if (block.kind == Kind::TableHeader)
            painter->fillRect(cell, QColor(230, 230, 230));
        painter->drawRect(cell);
        textBlock(block.cells.at(c), font, device, cell.width() - 2 * pad, painter, cell.topLeft() + QPointF(pad, pad));
        left += cell.width();
    }
    return height;
}

qreal footerHeight(QPaintDevice* device)
{
    return px(6) + textBlock(QStringLiteral("第 1 页"), fontOf(Kind::Text), device, 1e6);
}

// The blocks measured on `writer`'s pages, and laid out on them.
QList<ReportPage> layOut(QList<ReportBlock> blocks, QPdfWriter& writer)
{
    for (ReportBlock& block : blocks)
        block.height = render(block, &writer, writer.width());
    return paginate(blocks, writer.height() - footerHeight(&writer));
}

bool readBlocks(const rights::Matrix& matrix, QList<ReportBlock>* blocks, QString* error)
{
    if (rightsReportBlocks(matrix, blocks))
        return true;
    *error = host::sqlca.sqlerrtext;
    return false;
}

}  // namespace

bool rightsReportPages(const rights::Matrix& matrix, QList<ReportPage>* pages, QString* error)
{
    QList<ReportBlock> blocks;
    if (!readBlocks(matrix, &blocks, error))
        return false;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setUp(writer);
    *pages = layOut(blocks, writer);
    return true;
}

bool writeRightsReport(const QString& path, const rights::Matrix& matrix, QString* error)
{
    QList<ReportBlock> blocks;
    if (!readBlocks(matrix, &blocks, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        setUp(writer);
        const QList<ReportPage> pages = layOut(blocks, writer);
        QPainter painter(&writer);
        QPen pen(Qt::black);
        pen.setWidthF(px(0.5));
        painter.setPen(pen);
        const qreal width = writer.width();
        const QFont footer = fontOf(Kind::Text);
        for (qsizetype p = 0; p < pages.size(); ++p) {
            if (p > 0)
                writer.newPage();
            qreal top = 0;
            for (const ReportBlock& block : pages.at(p))
                top += render(block, &writer, width, &painter, top);
            const QString number = QStringLiteral("第 %1 页, 共 %2 页").arg(p + 1).arg(pages.size());
            const qreal numberWidth = QFontMetricsF(footer, &writer).horizontalAdvance(number);
            textBlock(number, footer, &writer, numberWidth + px(2), &painter,
                      QPointF((width - numberWidth) / 2, writer.height() - footerHeight(&writer) + px(6)));
        }
    }  // the painter and the writer finish the file here
    file.close();
    if (file.error() != QFileDevice::NoError || file.size() == 0) {
        *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace rightsetup
