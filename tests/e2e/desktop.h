// A private X server and the real program on it, driven from outside only, as a
// person at the desk would: the pointer and the keyboard (xdotool), the screen
// (ImageMagick's import) and the system clipboard (xclip).
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace e2e {

using WindowId = qulonglong;

// The full path of a command, looked for on PATH and in the system directories; empty if absent.
QString FindTool(const QString& name);
// The commands in names that are not installed.
QStringList MissingTools(const QStringList& names);

struct ToolRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool Ok() const { return finished && exitCode == 0; }
};
ToolRun RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                int timeoutMs = 15000);

// Polls condition every 50 ms until it holds or timeoutMs has passed.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

// An Xvfb on a display number it picks itself among the free ones, stopped by its process.
class XServer {
public:
    ~XServer();
    bool Start(QString& error);
    QString Display() const { return display_; }

private:
    QProcess process_;
    QString display_;
};

// What a person does with a display: look at windows, point, click, type, read the clipboard.
class Desktop {
public:
    explicit Desktop(const QString& display);

    QProcessEnvironment Environment() const { return env_; }
    // Visible windows of one process whose name matches the pattern (all when it is empty).
    QList<WindowId> Windows(qint64 pid, const QString& namePattern = {}) const;
    WindowId WaitWindow(qint64 pid, const QString& namePattern, int timeoutMs = 20000) const;
    bool WaitGone(WindowId window, qint64 pid, int timeoutMs = 10000) const;
    // Waits until typed keys reach the window: it has the keyboard focus, or no window
    // has it (the focus follows the pointer, the X server's way without a window
    // manager, or was left on the root window) and the keys go where the next click
    // puts the pointer. A dialog takes the focus a moment after it appears.
    bool WaitKeyboard(WindowId window, int timeoutMs = 10000) const;
    QRect Geometry(WindowId window) const;
    QImage Grab(WindowId window) const;
    QImage GrabScreen() const;

    // Gives the window the keyboard focus, as a window manager does for the window a
    // program opens: without one, the X server's focus follows the pointer.
    void Focus(WindowId window) const;
    void Click(QPoint screenPoint) const;
    // Types a script: plain text is typed key by key, {Name} presses the key of that
    // X key name ({BackSpace}, {Delete}, {Left}, {Home}, {Return}, {Escape}, ...), with
    // modifiers joined by + ({shift+Tab}).
    void Type(const QString& script) const;
    // The clipboard as another program sees it: its PNG, or a null image when it holds none.
    QImage ClipboardImage() const;

private:
    ToolRun Xdotool(const QStringList& args) const;
    WindowId Root() const;
    QProcessEnvironment env_;
};

// The program copied into a directory of its own, where a prepared settings file
// stands beside it, started and stopped on a desktop.
class Program {
public:
    Program(const Desktop& desktop, const QString& builtExecutable);
    ~Program();

    QString Directory() const { return dir_.path(); }
    QString SettingsPath() const;
    void WriteSettings(const QByteArray& content) const;
    QByteArray ReadSettings() const;
    // Extra variables for the program's process (the CUPS client's server).
    void SetEnvironment(const QString& name, const QString& value);

    // Starts the program and waits for its main window; empty, or what went wrong.
    QString Start();
    bool WaitExit(int timeoutMs = 15000);
    void Kill();
    qint64 Pid() const { return process_.processId(); }
    int ExitCode() const { return process_.exitCode(); }
    QString Output();
    WindowId MainWindow() const { return main_; }
    QPoint Origin() const;
    QImage GrabMain() const { return desktop_.Grab(main_); }

private:
    const Desktop& desktop_;
    QTemporaryDir dir_;
    QString exe_;
    QProcessEnvironment env_;
    QProcess process_;
    WindowId main_ = 0;
};

}  // namespace e2e
