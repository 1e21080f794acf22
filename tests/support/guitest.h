// Helpers for driving windows in-process: a private executable directory for the
// settings file, and closing the modal box a handler opens while recording it.
#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class Tmainfm;

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

// Pictures as the tests compare them.
QImage Rgb32(const QImage& image);
QImage ClipboardImage();
bool AllWhite(const QImage& image);
// A clipboard marker that no build produces, to see whether a build touched it.
QImage Marker();
