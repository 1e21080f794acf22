#include "printqueue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <sys/stat.h>
#include <unistd.h>

#include "desktop.h"

namespace e2e {
namespace {

const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
// cups-pdf reads its settings from here only; one file per instance, named after it.
const QString kBackendConfigDir = QStringLiteral("/etc/cups");

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// The cups-pdf printer description with margins: every sheet's printable area starts
// at the printable corner and ends as far from the opposite edges.
QByteArray WithMargins(QByteArray ppd)
{
    static const QRegularExpression area(QStringLiteral("^(\\*ImageableArea [^:]+: )\"0 0 (\\d+) (\\d+)\""),
                                         QRegularExpression::MultilineOption);
    const int left = int(PrintQueue::kPrintableCorner.x()), top = int(PrintQueue::kPrintableCorner.y());
    QString text = QString::fromLatin1(ppd);
    QString out;
    qsizetype at = 0;
    for (auto it = area.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(at, m.capturedStart() - at);
        out += QStringLiteral("%1\"%2 %3 %4 %5\"")
                   .arg(m.captured(1))
                   .arg(left)
                   .arg(top)
                   .arg(m.captured(2).toInt() - left)
                   .arg(m.captured(3).toInt() - top);
        at = m.capturedEnd();
    }
    return (out + text.mid(at)).toLatin1();
}

// The description with dpi offered and named the default resolution, on Letter sheets.
QByteArray AtResolution(QByteArray ppd, int dpi)
{
    const QByteArray name = QByteArray::number(dpi) + "dpi";
    ppd.replace("*DefaultResolution: 300dpi", "*DefaultResolution: " + name);
    const QByteArray option = "*Resolution " + name + "/" + QByteArray::number(dpi) + " DPI: \"<</HWResolution[" +
                              QByteArray::number(dpi) + " " + QByteArray::number(dpi) + "]>>setpagedevice\"\n";
    if (!ppd.contains("*Resolution " + name + "/")) ppd.replace("*CloseUI: *Resolution", option + "*CloseUI: *Resolution");
    for (const char* key : {"PageSize", "PageRegion", "ImageableArea", "PaperDimension"})
        ppd.replace(QByteArray("*Default") + key + ": A4", QByteArray("*Default") + key + ": Letter");
    return ppd;
}

}  // namespace

// Names that share no first letter with the others, so that typing one in the printer
// list picks it at once.
QString PrintQueue::QueueAt(int dpi) { return QStringLiteral("%1%2dpi").arg(QChar(dpi == 203 ? 'X' : dpi == 300 ? 'Y' : 'Z')).arg(dpi); }

PrintQueue::~PrintQueue()
{
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(10000)) {
            cupsd_.kill();
            cupsd_.waitForFinished(2000);
        }
    }
    if (!backendConfig_.isEmpty()) QFile::remove(backendConfig_);
}

QString PrintQueue::CannotRun()
{
    if (geteuid() != 0) return "the private CUPS daemon and the cups-pdf backend need root";
    QStringList missing = MissingTools({"cupsd", "lpadmin", "lpstat", "cupsdisable", "pdftoppm", "pdfinfo",
                                        "pdfimages"});
    for (const QString& file : {kBackend, kPdfPpd})
        if (!QFile::exists(file)) missing << file;
    if (!missing.isEmpty())
        return "not installed: " + missing.join(", ") + " (scripts/setup.sh installs cups, printer-driver-cups-pdf, "
                                                         "poppler-utils)";
    return {};
}

QString PrintQueue::Server() const { return dir_.filePath("cups.sock"); }

QProcessEnvironment PrintQueue::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", Server());
    env.insert("CUPS_SERVERROOT", ServerRoot());
    return env;
}

QString PrintQueue::Lp(const QString& tool, const QStringList& args) const
{
    const ToolRun run = RunTool(tool, args, Environment());
    return run.Ok() ? QString() : tool + " " + args.join(' ') + ": " + QString::fromLocal8Bit(run.err + run.out);
}

bool PrintQueue::WriteConfiguration(QString& error)
{
    const QString root = dir_.path();
    QDir dir(root);
    for (const char* sub : {"spool", "cache", "state", "tmp", "log", "ppd", "pdf", "pdf-spool"}) dir.mkpath(sub);
    // The filters run as the daemon's unprivileged user: they pass through this
    // directory and write their temporary files into tmp.
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    chmod(QFile::encodeName(dir.filePath("tmp")).constData(), 01777);

    const QByteArray files = "ServerRoot " + root.toUtf8() + "\nRequestRoot " + root.toUtf8() +
                             "/spool\nCacheDir " + root.toUtf8() + "/cache\nStateDir " + root.toUtf8() +
                             "/state\nTempDir " + root.toUtf8() + "/tmp\nErrorLog " + root.toUtf8() +
                             "/log/error_log\nAccessLog " + root.toUtf8() + "/log/access_log\nPageLog " +
                             root.toUtf8() + "/log/page_log\nSystemGroup root\n";
    const QByteArray daemon = "Listen " + Server().toUtf8() +
                              "\nLogLevel info\nBrowsing No\nWebInterface No\n"
                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                              "<Policy default>\n  JobPrivateAccess default\n  JobPrivateValues default\n"
                              "  SubscriptionPrivateAccess default\n  SubscriptionPrivateValues default\n"
                              "  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n";
    QFile ppd(kPdfPpd);
    if (!ppd.open(QIODevice::ReadOnly)) {
        error = "cannot read " + kPdfPpd;
        return false;
    }
    instance_ = QStringLiteral("ruvolae2e%1").arg(getpid());
    backendConfig_ = kBackendConfigDir + "/cups-pdf-" + instance_ + ".conf";
    const QByteArray backend = "Out " + root.toUtf8() + "/pdf\nAnonDirName " + root.toUtf8() + "/pdf\nSpool " +
                               root.toUtf8() + "/pdf-spool\nLog " + root.toUtf8() + "/log\nGrp root\n";
    const QByteArray asItComes = ppd.readAll();
    const QByteArray description = WithMargins(asItComes);
    bool written = WriteFile(dir.filePath("ppd/whole.ppd"), asItComes) &&
                   WriteFile(dir.filePath("ppd/whole-dots.ppd"), AtResolution(asItComes, kWholeSheetDots));
    for (int dpi : kResolutions)
        written = written && WriteFile(dir.filePath(QStringLiteral("ppd/margins-%1.ppd").arg(dpi)), AtResolution(description, dpi));
    if (!written || !WriteFile(dir.filePath("cups-files.conf"), files) || !WriteFile(dir.filePath("cupsd.conf"), daemon) ||
        !WriteFile(dir.filePath("ppd/margins.ppd"), description) || !WriteFile(backendConfig_, backend)) {
        error = "cannot write the CUPS configuration under " + root + " and " + backendConfig_;
        return false;
    }
    return true;
}

QString PrintQueue::Start()
{
    if (!dir_.isValid()) return "no temporary directory";
    QString error;
    if (!WriteConfiguration(error)) return error;
    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.start(FindTool("cupsd"),
                 {"-f", "-c", dir_.filePath("cupsd.conf"), "-s", dir_.filePath("cups-files.conf")});
    if (!cupsd_.waitForStarted(10000)) return "cupsd did not start";
    const bool running = WaitFor(
        [this] {
            return cupsd_.state() == QProcess::Running &&
                   RunTool("lpstat", {"-r"}, Environment()).out.contains("is running");
        },
        20000);
    if (!running) return "cupsd is not answering: " + QString::fromLocal8Bit(cupsd_.readAll()) + ErrorLog();
    const QString ppdPath = dir_.filePath("ppd/margins.ppd");
    const QString device = "cups-pdf:/" + instance_;
    QList<QPair<QString, QStringList>> steps = {
        {"lpadmin", {"-p", kQueue, "-E", "-v", device, "-P", ppdPath}},
        {"lpadmin", {"-p", kHeldDefault, "-E", "-v", device, "-P", ppdPath}},
        {"cupsdisable", {kHeldDefault}},
        {"lpadmin", {"-d", kHeldDefault}},
        {"lpadmin", {"-p", kWholeSheet, "-E", "-v", device, "-P", dir_.filePath("ppd/whole.ppd")}},
        {"lpadmin", {"-p", kWholeSheetAtDots, "-E", "-v", device, "-P", dir_.filePath("ppd/whole-dots.ppd")}},
    };
    for (int dpi : kResolutions)
        steps.append({"lpadmin", {"-p", QueueAt(dpi), "-E", "-v", device, "-P",
                                      dir_.filePath(QStringLiteral("ppd/margins-%1.ppd").arg(dpi))}});
    for (const auto& [tool, args] : steps)
        if (const QString failure = Lp(tool, args); !failure.isEmpty()) return failure;
    return {};
}

QStringList PrintQueue::Jobs(const QString& queue) const
{
    const QString out = QString::fromLocal8Bit(RunTool("lpstat", {"-o", queue}, Environment()).out);
    return out.split('\n', Qt::SkipEmptyParts);
}

QString PrintQueue::WaitForPdf(int timeoutMs, const QString& queue) const
{
    const QDir out(dir_.filePath("pdf"));
    QString pdf;
    WaitFor(
        [&] {
            const QStringList files = out.entryList({"*.pdf"}, QDir::Files);
            if (files.size() != 1 || !Jobs(queue).isEmpty()) return false;
            pdf = out.filePath(files.first());
            return true;
        },
        timeoutMs);
    return pdf;
}

QString PrintQueue::ErrorLog() const
{
    QFile log(dir_.filePath("log/error_log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(3000)) : QString();
}

}  // namespace e2e
