// Helpers for driving windows in-process: a private executable directory for the
// settings file, and closing the modal box a handler opens while recording it.
#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "platform/clipboard.h"
#include "shell/mainform.h"

struct ModalSeen {
    QString title;
    QString text;
    QString className;
};

// Runs action; every modal window it opens is recorded and closed (OK / reject),
// and, where given, inspect is called with it open first; inspect may answer it itself.
QList<ModalSeen> RunClosingModals(const std::function<void()>& action,
                                  const std::function<void(QWidget*)>& inspect = {});

// A temporary directory standing in for the executable's directory.
class ExeDirFixture {
public:
    ExeDirFixture();
    ~ExeDirFixture();
    QString Path(const QString& name) const;
    void Write(const QString& name, const QByteArray& content) const;
    QByteArray Read(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// A fresh main window over the fixture's directory, as at start-up.
std::unique_ptr<Tmainfm> MakeMainWindow();

// What an editor's tests stand on: a main window over a private executable
// directory, showing the editor that pick creates; the real clipboard.
template <class Editor>
struct EditorBench {
    std::unique_ptr<ExeDirFixture> dir;
    std::unique_ptr<Tmainfm> main;
    Editor* form = nullptr;

    bool Open(void (Tmainfm::*pick)())
    {
        dir = std::make_unique<ExeDirFixture>();
        main = MakeMainWindow();
        (main.get()->*pick)();
        form = qobject_cast<Editor*>(main->barform);
        platform::SetClipboardWriter({});
        return form != nullptr;
    }
    void Close()
    {
        main.reset();
        dir.reset();
        PrintBitmap = QImage();
    }
};

// Pictures as the tests compare them.
QImage Rgb32(const QImage& image);
QImage ClipboardImage();
bool AllWhite(const QImage& image);
// A clipboard marker that no build produces, to see whether a build touched it.
QImage Marker();
// Whether turned is work turned a quarter clockwise, pixel for pixel: the pixel at
// x = r, y = c is work's pixel at x = c, y = H - 1 - r.
bool IsQuarterTurnOf(const QImage& turned, const QImage& work);
