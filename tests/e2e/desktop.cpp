#include "desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace e2e {

QString FindTool(const QString& name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty()) path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
    return path;
}

QStringList MissingTools(const QStringList& names)
{
    QStringList missing;
    for (const QString& name : names)
        if (FindTool(name).isEmpty()) missing << name;
    return missing;
}

ToolRun RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(FindTool(program), args);
    ToolRun run;
    if (!process.waitForStarted(timeoutMs)) {
        run.err = program.toUtf8() + " did not start";
        return run;
    }
    process.closeWriteChannel();
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(2000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QThread::msleep(50);
    }
    return true;
}

XServer::~XServer()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

bool XServer::Start(QString& error)
{
    // -displayfd: the server takes the first free display number and writes it to
    // its standard output once it accepts clients. 96 dots per inch, as the layout.
    // -noreset: by default the server resets when its last client leaves, and a
    // program starting right after another one ended would find no server to talk to.
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(FindTool("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-dpi", "96", "-nolisten",
                                      "tcp", "-noreset"});
    if (!process_.waitForStarted(10000)) {
        error = "Xvfb did not start";
        return false;
    }
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (!out.contains('\n') && timer.elapsed() < 15000) {
        process_.waitForReadyRead(500);
        out += process_.readAllStandardOutput();
        if (process_.state() == QProcess::NotRunning) break;
    }
    bool ok = false;
    const int number = out.trimmed().toInt(&ok);
    if (!ok) {
        error = "Xvfb gave no display number: " + QString::fromUtf8(process_.readAllStandardError());
        return false;
    }
    display_ = QStringLiteral(":%1").arg(number);
    return true;
}

Desktop::Desktop(const QString& display) : env_(QProcessEnvironment::systemEnvironment())
{
    env_.insert("DISPLAY", display);
    env_.remove("WAYLAND_DISPLAY");
}

ToolRun Desktop::Xdotool(const QStringList& args) const { return RunTool("xdotool", args, env_); }

QList<WindowId> Desktop::Windows(qint64 pid, const QString& namePattern) const
{
    QStringList args{"search", "--all", "--onlyvisible", "--pid", QString::number(pid)};
    args << "--name" << (namePattern.isEmpty() ? QStringLiteral(".*") : namePattern);
    QList<WindowId> windows;
    for (const QByteArray& line : Xdotool(args).out.split('\n'))
        if (!line.trimmed().isEmpty()) windows << line.trimmed().toULongLong();
    return windows;
}

WindowId Desktop::WaitWindow(qint64 pid, const QString& namePattern, int timeoutMs) const
{
    WindowId found = 0;
    WaitFor(
        [&] {
            const QList<WindowId> windows = Windows(pid, namePattern);
            if (!windows.isEmpty()) found = windows.first();
            return found != 0;
        },
        timeoutMs);
    return found;
}

bool Desktop::WaitGone(WindowId window, qint64 pid, int timeoutMs) const
{
    return WaitFor([&] { return !Windows(pid).contains(window); }, timeoutMs);
}

bool Desktop::WaitKeyboard(WindowId window, int timeoutMs) const
{
    return WaitFor(
        [&] {
            // Nothing is printed while the focus follows the pointer.
            const WindowId focus = Xdotool({"getwindowfocus"}).out.trimmed().toULongLong();
            return focus == window || focus == 0 || focus == Root();
        },
        timeoutMs);
}

WindowId Desktop::Root() const
{
    return Xdotool({"search", "--maxdepth", "0", "--name", ".*"}).out.split('\n').value(0).trimmed().toULongLong();
}

QRect Desktop::Geometry(WindowId window) const
{
    QRect rect;
    for (const QByteArray& line : Xdotool({"getwindowgeometry", "--shell", QString::number(window)}).out.split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() != 2) continue;
        const int value = pair[1].toInt();
        if (pair[0] == "X") rect.moveLeft(value);
        if (pair[0] == "Y") rect.moveTop(value);
        if (pair[0] == "WIDTH") rect.setWidth(value);
        if (pair[0] == "HEIGHT") rect.setHeight(value);
    }
    return rect;
}

QImage Desktop::Grab(WindowId window) const
{
    const ToolRun run = RunTool("import", {"-window", QString::number(window), "png:-"}, env_);
    return run.Ok() ? QImage::fromData(run.out, "PNG").convertToFormat(QImage::Format_RGB32) : QImage();
}

QImage Desktop::GrabScreen() const
{
    const ToolRun run = RunTool("import", {"-window", "root", "png:-"}, env_);
    return run.Ok() ? QImage::fromData(run.out, "PNG").convertToFormat(QImage::Format_RGB32) : QImage();
}

void Desktop::Click(QPoint p) const
{
    Xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y()), "click", "1"});
}

void Desktop::Focus(WindowId window) const { Xdotool({"windowfocus", "--sync", QString::number(window)}); }

void Desktop::Type(const QString& script) const
{
    static const QRegularExpression key(QStringLiteral("\\{([\\w+]+)\\}"));
    qsizetype at = 0;
    const auto typeText = [this](const QString& text) {
        if (!text.isEmpty()) Xdotool({"type", "--delay", "40", "--", text});
    };
    for (auto it = key.globalMatch(script); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        typeText(script.mid(at, match.capturedStart() - at));
        Xdotool({"key", "--delay", "40", match.captured(1)});
        at = match.capturedEnd();
    }
    typeText(script.mid(at));
}

QImage Desktop::ClipboardImage() const
{
    const ToolRun run = RunTool("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, env_, 5000);
    return run.Ok() ? QImage::fromData(run.out, "PNG").convertToFormat(QImage::Format_RGB32) : QImage();
}

Program::Program(const Desktop& desktop, const QString& builtExecutable) : desktop_(desktop)
{
    exe_ = dir_.filePath("ruvola-barcode");
    QFile::copy(builtExecutable, exe_);
    QDir(dir_.path()).mkpath("home");
    QDir(dir_.path()).mkpath("runtime");
    QFile::setPermissions(dir_.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The program runs on the X server, whatever platform the driver itself uses; its
    // home is private, so no user's printer defaults or settings of the machine reach it.
    env_ = desktop.Environment();
    env_.insert("QT_QPA_PLATFORM", "xcb");
    env_.insert("HOME", dir_.filePath("home"));
    env_.insert("XDG_RUNTIME_DIR", dir_.filePath("runtime"));
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

Program::~Program() { Kill(); }

QString Program::SettingsPath() const { return dir_.filePath("BCodeSetting.ini"); }

void Program::WriteSettings(const QByteArray& content) const
{
    QFile file(SettingsPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(content);
}

QByteArray Program::ReadSettings() const
{
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Program::SetEnvironment(const QString& name, const QString& value) { env_.insert(name, value); }

QString Program::Start()
{
    if (!QFile::exists(exe_)) return "the program could not be copied to " + dir_.path();
    process_.setProcessEnvironment(env_);
    process_.setWorkingDirectory(dir_.path());
    process_.start(exe_, {});
    if (!process_.waitForStarted(10000)) return "the program did not start: " + process_.errorString();
    const qint64 pid = Pid();
    WaitFor(
        [&] {
            const QList<WindowId> windows = desktop_.Windows(pid, QStringLiteral("^Ruvola BarCode Generator $"));
            main_ = windows.isEmpty() ? 0 : windows.first();
            return main_ != 0 || process_.waitForFinished(0);
        },
        20000);
    if (process_.state() == QProcess::NotRunning)
        return QStringLiteral("the program ended at start (exit code %1); output: %2").arg(process_.exitCode()).arg(Output());
    if (!main_) return "no main window within 20 s; output: " + Output();
    return {};
}

bool Program::WaitExit(int timeoutMs) { return process_.waitForFinished(timeoutMs); }

void Program::Kill()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

QString Program::Output() { return QString::fromLocal8Bit(process_.readAll()); }

QPoint Program::Origin() const { return desktop_.Geometry(main_).topLeft(); }

}  // namespace e2e
