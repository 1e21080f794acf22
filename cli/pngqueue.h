// Writes a batch's black-and-white PNG files on worker threads while the next symbols
// are drawn, and tells each line's outcome on standard error in the order of the lines.
#pragma once

#include <QString>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class PngQueue {
public:
    explicit PngQueue(int threads);
    // Whether any writing thread could be started; without one nothing is written.
    bool Started() const { return !threads_.empty(); }
    ~PngQueue();
    PngQueue(const PngQueue&) = delete;
    PngQueue& operator=(const PngQueue&) = delete;

    // Queues the picture of line (rows as platform::BitCanvas holds them) to be written
    // as path (no two lines name one file); waits while the queue is full.
    void Write(int line, const QString& path, const std::uint8_t* bits, std::size_t stride, int width, int height,
               int dotsPerMetre);
    // A line whose fault is told after the lines before it.
    void QueueFault(int line, const QString& error);
    // Waits for every file before a symbol is written past the queue (another format).
    void Drain();
    // Waits for every file and tells the rest; the number of lines that failed.
    int Finish();

private:
    enum class State { Free, Queued, Done };
    struct Slot {
        State state = State::Free;
        int line = 0;
        QString path, error;
        std::vector<std::uint8_t> bits;
        std::size_t stride = 0;
        int width = 0, height = 0, dotsPerMetre = 0;
    };

    Slot& Acquire(std::unique_lock<std::mutex>& lock);
    void Publish(Slot& slot, State state);
    // Tells the finished lines at the head of the queue; with wait, at least one.
    void Report(std::unique_lock<std::mutex>& lock, bool wait);
    void Work();

    std::vector<Slot> slots_;
    std::size_t head_ = 0, tail_ = 0, next_ = 0;  // to tell, to fill, to write
    bool stopping_ = false;
    // Threads asleep: a wake-up costs a system call, made only for a sleeper.
    int idleWorkers_ = 0;
    bool reporterWaiting_ = false;
    int bad_ = 0;
    std::mutex mutex_;
    std::condition_variable work_, done_;
    std::vector<std::thread> threads_;
};
