#include "Channel.h"

#include "LibraryThread.h"
#include "Log.h"
#include "ReportSink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

namespace ql::hid {

namespace {

// Read errors in a row, other than a hangup, after which the descriptor is
// given up: poll() keeps saying it is readable, and reading it again at once
// would spin.
constexpr int kMaxReadErrors = 8;

}  // namespace

Channel::Channel(uint64_t serial, uint64_t keyboard, Identity identity,
                 std::shared_ptr<const ReportDescriptor> descriptor, size_t collection,
                 std::unique_ptr<HidConnection> connection, std::chrono::steady_clock::time_point openedAt)
    : serial_(serial),
      keyboard_(keyboard),
      identity_(std::move(identity)),
      descriptor_(std::move(descriptor)),
      collection_(collection),
      openedAt_(openedAt)
      // One byte in front, for the report id that hidraw leaves out of unnumbered reports.
      ,
      buffer_(1 + ReportDescriptor::kMaxReportLength),
      connection_(std::move(connection))
{
}

Channel::~Channel()
{
    stop();
}

bool Channel::start(ReportSink& sink, HidBackend& backend)
{
    if (!stop_.valid())
        return false;
    thread_ = std::thread([this, &sink, &backend] { run(sink, backend); });
    return true;
}

void Channel::requestStop()
{
    stop_.signal();
}

void Channel::stop()
{
    requestStop();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(ioMutex_);
    connection_.reset();
}

bool Channel::carries(const UnitMatch& unit) const
{
    return unit.matchesDevice(identity_.vendorId, identity_.productId) && unit.matchesCollection(collection());
}

ReportType Channel::statusType(uint8_t reportId) const
{
    if (descriptor_->reportLength(ReportType::Output, reportId) == 0 &&
        descriptor_->reportLength(ReportType::Feature, reportId) != 0)
        return ReportType::Feature;
    return ReportType::Output;
}

void Channel::fail(Failure failure, ReportSink& sink)
{
    Failure none = Failure::None;
    if (!failure_.compare_exchange_strong(none, failure))
        return;
    Log::write(Log::kInfo, "%s: %s", identity_.path.c_str(),
               failure == Failure::Gone ? "the device is gone" : "the node keeps failing; closed");
    sink.channelFailed(*this);
}

void Channel::run(ReportSink& sink, HidBackend& backend)
{
    LibraryThread::mark();
    const int fd = connection_->fd();
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
        // No timeout: without reports and without a stop this thread sleeps.
        const int ready = backend.poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            Log::write(Log::kError, "%s: poll failed: %s", identity_.path.c_str(), std::strerror(errno));
            fail(Failure::Failed, sink);
            return;
        }
        if (fds[1].revents != 0)
            return;
        // What is queued is read before a hangup is believed, as hidraw still hands it out.
        if ((fds[0].revents & POLLIN) && !drain(sink))
            return;
        if (fds[0].revents & POLLHUP) {
            fail(Failure::Gone, sink);
            return;
        }
        if (fds[0].revents & (POLLERR | POLLNVAL)) {
            fail(Failure::Failed, sink);
            return;
        }
    }
}

bool Channel::drain(ReportSink& sink)
{
    for (;;) {
        const int got = connection_->read(buffer_.data() + 1, buffer_.size() - 1);
        if (got == HidConnection::kWouldBlock)
            return true;
        if (got == HidConnection::kGone) {
            fail(Failure::Gone, sink);
            return false;
        }
        if (got == HidConnection::kFailed || got < 0) {
            if (++readErrors_ < kMaxReadErrors)
                return true;
            fail(Failure::Failed, sink);
            return false;
        }
        readErrors_ = 0;
        if (got == 0)
            continue;
        try {
            route(sink, std::min(static_cast<size_t>(got), buffer_.size() - 1));
        } catch (const std::exception& e) {
            // Out of memory while handing one report over: lose that report, not the process.
            Log::write(Log::kError, "%s: report dropped: %s", identity_.path.c_str(), e.what());
        }
    }
}

void Channel::route(ReportSink& sink, size_t length)
{
    const uint8_t* report = buffer_.data() + 1;
    const std::optional<size_t> owner = descriptor_->collectionOfInput(report[0]);
    // Every channel of the node reads every report; each keeps its own.
    if (owner != collection_) {
        if (!owner)
            Log::write(Log::kTrace, "%s: input report %u belongs to no collection, dropped", identity_.path.c_str(),
                       unsigned{report[0]});
        return;
    }
    if (!descriptor_->numbered()) {
        // Report id 0 in front, so that every report reaches the caller id first.
        buffer_[0] = 0;
        report = buffer_.data();
        ++length;
    }
    sink.inputReport(*this, report, length);
}

int Channel::send(ReportType type, const uint8_t* data, size_t length, ReportSink& sink)
{
    std::vector<uint8_t> padded;
    const size_t declared = descriptor_->reportLength(type, data[0]);
    if (declared > length) {
        padded.assign(data, data + length);
        padded.resize(declared, 0);
        data = padded.data();
        length = padded.size();
    }
    if (length < 2)
        return kTooShort;
    int sent = 0;
    {
        std::lock_guard lock(ioMutex_);
        if (!connection_)
            return kClosed;
        sent = type == ReportType::Feature ? connection_->sendFeature(data, length) : connection_->write(data, length);
    }
    if (sent == HidConnection::kGone)
        fail(Failure::Gone, sink);
    if (sent >= 0 && static_cast<size_t>(sent) != length)
        return HidConnection::kFailed;
    return sent;
}

int Channel::getFeature(uint8_t* data, size_t length, ReportSink& sink)
{
    if (length < 2)
        return kTooShort;
    int got = 0;
    {
        std::lock_guard lock(ioMutex_);
        if (!connection_)
            return kClosed;
        got = connection_->getFeature(data, length);
    }
    if (got == HidConnection::kGone)
        fail(Failure::Gone, sink);
    return got;
}

}  // namespace ql::hid
