#include "rightsetup/report_layout.h"

#include <optional>

namespace rightsetup {

QString continuedHeading(const QString& heading)
{
    return heading + QStringLiteral(" (续)");
}

QList<ReportPage> paginate(const QList<ReportBlock>& blocks, qreal pageHeight)
{
    QList<ReportPage> pages;
    if (blocks.isEmpty())
        return pages;
    pages.append(ReportPage());
    qreal used = 0;
    // The table being placed: its heading (when it has one) and header row.
    std::optional<ReportBlock> heading;
    std::optional<ReportBlock> header;
    const auto append = [&](const ReportBlock& block) {
        pages.last().append(block);
        used += block.height;
    };
    const auto place = [&](const ReportBlock& block) {
        append(block);
        switch (block.kind) {
        case ReportBlock::Kind::Heading:
            heading = block;
            header.reset();
            break;
        case ReportBlock::Kind::TableHeader:
            header = block;
            break;
        case ReportBlock::Kind::Row:
            break;
        default:
            heading.reset();
            header.reset();
        }
    };
    for (qsizetype i = 0; i < blocks.size();) {
        // A run: the blocks kept with the next one, and that one.
        qsizetype end = i;
        qreal height = 0;
        while (end < blocks.size()) {
            height += blocks.at(end).height;
            if (!blocks.at(end++).keepsWithNext())
                break;
        }
        if (!pages.last().isEmpty() && used + height > pageHeight) {
            pages.append(ReportPage());
            used = 0;
            // A table going on: its heading and header row again.
            if (blocks.at(i).kind == ReportBlock::Kind::Row && header) {
                if (heading) {
                    ReportBlock again = *heading;
                    again.cells = QStringList{continuedHeading(heading->cells.value(0))};
                    again.continued = true;
                    append(again);
                }
                ReportBlock again = *header;
                again.continued = true;
                append(again);
            }
        }
        for (; i < end; ++i)
            place(blocks.at(i));
    }
    return pages;
}

}  // namespace rightsetup
