#include "DeviceNode.h"

#include "LibraryThread.h"
#include "Log.h"
#include "ReportSink.h"

#include <algorithm>
#include <exception>

namespace ql::hid {

DeviceNode::DeviceNode(uint64_t serial, Identity identity, std::optional<ReportDescriptor> descriptor,
                       std::vector<CollectionUsage> listed, std::unique_ptr<HidConnection> reader,
                       std::unique_ptr<HidConnection> writer)
    : serial_(serial)
    , identity_(std::move(identity))
    , descriptor_(std::move(descriptor))
    , collections_(descriptor_ ? descriptor_->collections() : std::move(listed))
    , reader_(std::move(reader))
    // One byte in front, for the report id that hidraw leaves out of unnumbered reports.
    , buffer_(1 + ReportDescriptor::kMaxReportLength)
    , writer_(std::move(writer))
{
}

DeviceNode::~DeviceNode()
{
    stop();
}

void DeviceNode::start(ReportSink& sink, int readTimeoutMs)
{
    thread_ = std::thread([this, &sink, readTimeoutMs] { run(sink, readTimeoutMs); });
}

void DeviceNode::requestStop()
{
    stopping_.store(true);
}

void DeviceNode::stop()
{
    requestStop();
    if (thread_.joinable())
        thread_.join();
    reader_.reset();
    std::lock_guard lock(writeMutex_);
    writer_.reset();
}

bool DeviceNode::carries(const UnitMatch& unit) const
{
    if (!unit.matchesDevice(identity_.vendorId, identity_.productId))
        return false;
    return std::any_of(collections_.begin(), collections_.end(),
                       [&](const CollectionUsage& c) { return unit.matchesCollection(c); });
}

void DeviceNode::run(ReportSink& sink, int readTimeoutMs)
{
    LibraryThread::mark();
    while (!stopping_.load()) {
        const int got = reader_->read(buffer_.data() + 1, buffer_.size() - 1, readTimeoutMs);
        if (got < 0) {
            Log::write(Log::kInfo, "%s stopped answering reads", identity_.path.c_str());
            failed_.store(true);
            sink.nodeFailed(*this);
            return;
        }
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

void DeviceNode::route(ReportSink& sink, size_t length)
{
    const uint8_t* report = buffer_.data() + 1;
    std::optional<size_t> collection;
    if (descriptor_) {
        collection = descriptor_->collectionOfInput(report[0]);
        if (collection && !descriptor_->numbered()) {
            // Report id 0 in front, so that every report reaches the caller id first.
            buffer_[0] = 0;
            report = buffer_.data();
            ++length;
        }
    } else if (collections_.size() == 1) {
        collection = 0;
    }
    if (!collection || *collection >= collections_.size()) {
        Log::write(Log::kTrace, "%s: input report %u belongs to no known collection, dropped",
                   identity_.path.c_str(), unsigned{report[0]});
        return;
    }
    sink.inputReport(*this, *collection, report, length);
}

int DeviceNode::send(ReportType type, const uint8_t* data, size_t length)
{
    std::vector<uint8_t> padded;
    if (descriptor_ && length > 0) {
        const size_t declared = descriptor_->reportLength(type, data[0]);
        if (declared > length) {
            padded.assign(data, data + length);
            padded.resize(declared, 0);
            data = padded.data();
            length = padded.size();
        }
    }
    std::lock_guard lock(writeMutex_);
    if (!writer_)
        return kClosed;
    const int sent = type == ReportType::Feature ? writer_->sendFeature(data, length) : writer_->write(data, length);
    if (sent >= 0 && static_cast<size_t>(sent) != length)
        return -1;
    return sent;
}

int DeviceNode::getFeature(uint8_t* data, size_t length)
{
    std::lock_guard lock(writeMutex_);
    if (!writer_)
        return kClosed;
    return writer_->getFeature(data, length);
}

}  // namespace ql::hid
