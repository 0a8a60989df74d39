#pragma once
// What the screenshot tools (grab_* in the libraries' tools/ folders) share:
// the sample database in a temporary folder with the data views registered,
// and saving a window's picture at the end.
//
//   QApplication app(argc, argv);
//   tools::SampleSession session;             // as the administrator
//   if (!session.ok()) return 1;
//   ... open and prepare the window ...
//   return tools::saveGrab(window, out);

#include <QString>
#include <QTemporaryDir>

class QWidget;

namespace tools {

class SampleSession {
public:
    // Connects sqlca to a new database holding the sample data, registers the
    // data views and logs `operatorId` in; ok() says whether it worked (the
    // reason is printed on stderr).
    explicit SampleSession(const QString& operatorId = QStringLiteral("admin"));
    // Closes every window and the connection.
    ~SampleSession();
    SampleSession(const SampleSession&) = delete;
    SampleSession& operator=(const SampleSession&) = delete;

    bool ok() const { return ok_; }

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

// Saves the widget's picture as a PNG file: 0, or 1 with a line on stderr.
int saveGrab(QWidget* widget, const QString& path);

}  // namespace tools
