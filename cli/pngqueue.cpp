#include "pngqueue.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "platform/savebytes.h"
#include "platform/monopng.h"
#include "tell.h"

namespace {

// Files in flight per thread: enough to keep every thread busy while the drawing
// thread meets a slow line, few enough that the memory stays that of a few symbols.
constexpr std::size_t kSlotsPerThread = 16;

}  // namespace

PngQueue::PngQueue(int threads) : slots_(kSlotsPerThread * std::size_t(std::max(threads, 1)))
{
    // A system that refuses more threads (a low process limit) gets the ones it gave.
    try {
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
    }
}

PngQueue::~PngQueue() { Finish(); }

void PngQueue::Write(int line, const QString& path, const std::uint8_t* bits, std::size_t stride, int width,
                     int height, int dotsPerMetre)
{
    std::unique_lock lock(mutex_);
    Slot& slot = Acquire(lock);
    lock.unlock();
    slot.line = line;
    slot.path = path;
    slot.error.clear();
    slot.bits.assign(bits, bits + stride * std::size_t(height));
    slot.stride = stride;
    slot.width = width;
    slot.height = height;
    slot.dotsPerMetre = dotsPerMetre;
    lock.lock();
    Publish(slot, State::Queued);
}

void PngQueue::QueueFault(int line, const QString& error)
{
    std::unique_lock lock(mutex_);
    Slot& slot = Acquire(lock);
    slot.line = line;
    slot.path.clear();
    slot.error = error;
    Publish(slot, State::Done);
    Report(lock, false);
}

void PngQueue::Drain()
{
    std::unique_lock lock(mutex_);
    while (head_ != tail_) Report(lock, true);
}

int PngQueue::Finish()
{
    Drain();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (std::thread& t : threads_) t.join();
    threads_.clear();
    return bad_;
}

// The slot at the tail, once the line it held last has been told.
PngQueue::Slot& PngQueue::Acquire(std::unique_lock<std::mutex>& lock)
{
    Report(lock, false);
    while (tail_ - head_ == slots_.size()) Report(lock, true);
    return slots_[tail_ % slots_.size()];
}

void PngQueue::Publish(Slot& slot, State state)
{
    slot.state = state;
    ++tail_;
    if (state == State::Queued && idleWorkers_ > 0) work_.notify_one();
}

void PngQueue::Report(std::unique_lock<std::mutex>& lock, bool wait)
{
    if (wait && head_ != tail_) {
        reporterWaiting_ = true;
        done_.wait(lock, [this] { return slots_[head_ % slots_.size()].state == State::Done; });
        reporterWaiting_ = false;
    }
    while (head_ != tail_) {
        Slot& slot = slots_[head_ % slots_.size()];
        if (slot.state != State::Done) break;
        if (!slot.error.isEmpty()) {
            TellFault(slot.line, slot.error);
            ++bad_;
        }
        slot.state = State::Free;
        ++head_;
    }
}

void PngQueue::Work()
{
    platform::MonoPng png;
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idleWorkers_;
        // Lines told without a file (bad lines) are passed by the reporter, not by the
        // workers: every position before head_ is finished, and one that far behind
        // would name a slot the ring has since given to a later line.
        work_.wait(lock, [this] { return stopping_ || std::max(next_, head_) != tail_; });
        --idleWorkers_;
        next_ = std::max(next_, head_);
        if (next_ == tail_) return;
        Slot& slot = slots_[next_++ % slots_.size()];
        if (slot.state != State::Queued) continue;
        lock.unlock();
        const std::string_view file = png.Encode(slot.bits.data(), slot.stride, slot.width, slot.height, slot.dotsPerMetre);
        QString error = file.empty() ? QStringLiteral("no memory for a %1 x %2 picture").arg(slot.width).arg(slot.height)
                                     : platform::SaveBytes(slot.path, file);
        lock.lock();
        slot.error = std::move(error);
        slot.state = State::Done;
        if (reporterWaiting_) done_.notify_one();
    }
}
