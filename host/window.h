#pragma once
// The platform's plain window. Every window of the module is one: it is opened
// with a string parameter (read in openEvent), may close itself with a string
// result (read by whoever opened it modally), carries a tag (its module item
// code) and asks closeQuery() before it closes.

#include "host/export.h"

#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;

namespace host {

class WMS_HOST_EXPORT Window : public QDialog {
    Q_OBJECT
public:
    explicit Window(QWidget* parent = nullptr);
    ~Window() override;

    // Every window made and not yet destroyed, however it was opened (through
    // the registry, by another window, modal or not), in the order they were
    // made; closed ones that wait for their deletion included.
    static QList<Window*> all();

    QString tag() const;
    void setTag(const QString& tag);

    // The window's "open" handling, run once by the window registry before the
    // window is shown. Derived windows call their ancestor's first.
    virtual void openEvent(const QString& parameter);
    QString stringParm() const { return stringParm_; }

    // Closes the window, leaving `result` for the modal opener.
    void closeWithReturn(const QString& result);
    QString stringResult() const { return result_; }

    // Asked before the window closes; false keeps it open.
    virtual bool closeQuery() { return true; }

    // Closes without asking closeQuery() (the host's exit, a test's end).
    void forceClose();

    // True once close() was accepted (also during openEvent).
    bool isClosed() const { return closed_; }

    // The button clicked by Esc (none: Esc does nothing) and by Enter.
    void setCancelButton(QPushButton* button);
    void setDefaultButton(QPushButton* button);

    // Client size in layout units, for resize handlers.
    int widthUnits() const;
    int heightUnits() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void done(int result) override;

private:
    QString stringParm_;
    QString result_;
    QPushButton* cancelButton_ = nullptr;
    bool closed_ = false;
};

}  // namespace host
