// A private CUPS daemon on a socket of its own with a held default queue (a job sent
// there waits and is never printed) and cups-pdf queues whose PDFs land in a directory
// this test owns: one as the description comes, and one for each resolution of
// kResolutions, whose description offers it and names it the default. Their printable
// area starts a quarter inch from the sheet's left edge and half an inch from its top,
// so that offsets measured from the printable area differ from offsets measured from
// the sheet. Two more have the whole sheet for printable area, as the description
// comes: one at its own resolution on A4, one at 203 dpi on Letter.
#pragma once

#include <QPointF>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace e2e {

class PrintQueue {
public:
    static constexpr const char* kQueue = "RuvolaE2E";
    static constexpr const char* kHeldDefault = "HeldDefault";
    // A queue for each resolution a label printer may have, on US Letter sheets, whose
    // height is a whole number of dots at each of them.
    static constexpr int kResolutions[] = {203, 300, 600};
    static QString QueueAt(int dpi);
    // The printable area's corner, in points from the sheet's top-left corner.
    static constexpr QPointF kPrintableCorner{18, 36};
    static constexpr const char* kWholeSheet = "A4Sheet";
    static constexpr int kWholeSheetDots = 203;
    static constexpr const char* kWholeSheetAtDots = "W203dpi";

    ~PrintQueue();
    // Why this machine cannot run the queue (not root, packages missing), or empty.
    static QString CannotRun();
    // Starts the daemon and adds the queues; empty, or what went wrong.
    QString Start();
    // What a CUPS client needs to reach this daemon and no other.
    QString Server() const;
    QString ServerRoot() const { return dir_.path(); }
    QStringList Jobs(const QString& queue) const;
    // Waits until the queue is empty and has written one PDF; its path, or empty. The
    // caller moves it away before the next job.
    QString WaitForPdf(int timeoutMs, const QString& queue = kQueue) const;
    QString ErrorLog() const;

private:
    QString Lp(const QString& tool, const QStringList& args) const;
    bool WriteConfiguration(QString& error);
    QProcessEnvironment Environment() const;

    QTemporaryDir dir_;
    QProcess cupsd_;
    QString instance_;
    QString backendConfig_;
};

}  // namespace e2e
