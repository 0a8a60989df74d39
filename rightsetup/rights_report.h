#pragma once
// The access review report as a PDF (QPdfWriter, A4): every group's rights,
// then every operator's effective rights with the groups that grant them
// (report_content.h), laid out on pages by paginate() (report_layout.h) and
// drawn as plain text, never as markup, with the page number at the foot of
// every page.

#include "rightsetup/export.h"

#include "rightsetup/report_layout.h"

#include <QString>

namespace rights {
struct Matrix;
}

namespace rightsetup {

// Reads the operators' effective rights and writes the report to `path`.
// False with the reason in `error` (the database's, or the file's).
WMS_RIGHTSETUP_EXPORT bool writeRightsReport(const QString& path, const rights::Matrix& matrix, QString* error);

// The pages writeRightsReport() writes, measured as it measures them, without
// writing a file.
WMS_RIGHTSETUP_EXPORT bool rightsReportPages(const rights::Matrix& matrix, QList<ReportPage>* pages,
                                             QString* error);

}  // namespace rightsetup
