#include "savebytes.h"

#include <QDir>
#include <QFile>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

QString WriteError(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write '%1': %2.").arg(QDir::toNativeSeparators(path), reason);
}

// SaveBytes' files being written, and the interrupting signal once one has come. Both
// are lock-free atomics, which a signal handler may touch.
std::atomic<int> filesInFlight{0};
std::atomic<int> interruptedBy{0};

void EndBySignal(int signal)
{
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void OnInterrupt(int signal)
{
    interruptedBy.store(signal);
    if (filesInFlight.load() == 0) EndBySignal(signal);
    // Otherwise the last file to be finished ends the program.
}

// Counts a file in flight for its lifetime; the last one out ends an interrupted program.
// No file is begun after the signal: the handler may have found none in flight and be
// ending the program already, or another file's end will.
class FileInFlight {
public:
    FileInFlight()
    {
        filesInFlight.fetch_add(1);
        if (interruptedBy.load() == 0) return;
        Leave();
        for (;;) pause();
    }
    ~FileInFlight() { Leave(); }
    FileInFlight(const FileInFlight&) = delete;
    FileInFlight& operator=(const FileInFlight&) = delete;

private:
    static void Leave()
    {
        if (filesInFlight.fetch_sub(1) == 1)
            if (const int signal = interruptedBy.load(); signal != 0) EndBySignal(signal);
    }
};

// Writes all of data to fd; errno tells why not.
bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        data.remove_prefix(std::size_t(written));
    }
    return true;
}

}  // namespace

// The file appears only when all of its content is written; write returns why not.
// There is no sync to disk: a batch writes thousands of small files, and the sync
// costs more than drawing them.
QString SaveAs(const QString& path, const ContentWriter& write)
{
    const QString reason = ReplaceFile(path, write);
    return reason.isEmpty() ? QString() : WriteError(path, reason);
}

// Creating the file exclusively makes it this write's own: removing it after a failure
// cannot take anything that was there before. Only a name that exists already costs the
// hidden file and the rename.
void LetFilesFinishBeforeInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

QString SaveBytes(const QString& path, std::string_view data)
{
    const FileInFlight inFlight;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
        return SaveAs(path, [&](QIODevice& device) {
            return device.write(data.data(), qint64(data.size())) == qint64(data.size()) ? QString() : device.errorString();
        });
    if (fd < 0) return WriteError(path, QString::fromLocal8Bit(std::strerror(errno)));
    bool written = WriteAll(fd, data);
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written) return {};
    ::unlink(name.constData());
    return WriteError(path, QString::fromLocal8Bit(std::strerror(error)));
}

}  // namespace platform
