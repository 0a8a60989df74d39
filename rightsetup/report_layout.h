#pragma once
// How the access review falls onto pages, decided apart from drawing: the
// report is a list of blocks of known height, and paginate() says which
// blocks each page holds. A heading (of a chapter, a group or an operator)
// and a table's header row are never the last thing on a page: they go to
// the next page together with what follows them, down to the table's first
// row. A table that goes on over a page break starts again on the new page
// with its heading, marked "(续)", and its header row.

#include "rightsetup/export.h"

#include <QList>
#include <QStringList>

namespace rightsetup {

struct ReportBlock {
    enum class Kind {
        Title,        // the report's title
        Text,         // a paragraph
        Chapter,      // 一、… / 二、…
        Heading,      // a group or an operator
        TableHeader,  // a table's header row
        Row,          // a table row
    };
    Kind kind = Kind::Text;
    QStringList cells;  // one for every kind but TableHeader and Row
    qreal height = 0;   // in the page's units
    bool continued = false;  // a heading or header row repeated on a new page

    // Kept on the same page as the block after it.
    bool keepsWithNext() const
    {
        return kind == Kind::Chapter || kind == Kind::Heading || kind == Kind::TableHeader;
    }
    bool operator==(const ReportBlock&) const = default;
};

using ReportPage = QList<ReportBlock>;

// The heading text of a table continued on a new page.
WMS_RIGHTSETUP_EXPORT QString continuedHeading(const QString& heading);

// The blocks, in order, on pages of `pageHeight`. A block (or a run of kept
// blocks) taller than a page is placed at the top of a page of its own and
// overflows it; nothing is ever dropped.
WMS_RIGHTSETUP_EXPORT QList<ReportPage> paginate(const QList<ReportBlock>& blocks, qreal pageHeight);

}  // namespace rightsetup
