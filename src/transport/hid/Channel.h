#pragma once

#include "CollectionUsage.h"
#include "EventFd.h"
#include "HidBackend.h"
#include "HidConnection.h"
#include "ReportDescriptor.h"
#include "UnitMatch.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ql::hid {

class ReportSink;

// One top-level collection of a hidraw node, on a file of its own.
//
// hidraw gives every open file its own copy of every input report of the
// node. So each collection the program asks for gets its own descriptor and
// its own reader thread, which keeps the reports of its collection and
// ignores the rest: a callback that takes its time on one collection (the
// consumer channel's bank switch) never holds back another's report (the
// vendor reply an exchange waits for). Writes and feature reports of the
// collection go through the same descriptor.
class Channel {
public:
    static constexpr int kClosed = -10;    // send result once the channel is closed
    static constexpr int kTooShort = -11;  // hidraw refuses a report without a byte after its id

    enum class Failure {
        None,
        Gone,    // hung up, ENODEV or EIO: the device is no more
        Failed,  // the descriptor keeps failing although the device may be there
    };

    struct Identity {
        std::string path;
        std::string deviceKey;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
    };

    Channel(uint64_t serial, uint64_t keyboard, Identity identity, std::shared_ptr<const ReportDescriptor> descriptor,
            size_t collection, std::unique_ptr<HidConnection> connection,
            std::chrono::steady_clock::time_point openedAt);
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // False when the thread's wake-up descriptor could not be made.
    bool start(ReportSink& sink, HidBackend& backend);
    void requestStop();
    // Joins the reader and closes the descriptor. Never from the reader thread.
    void stop();

    uint64_t serial() const { return serial_; }
    // The serial of the keyboard (the activation of a USB device) this belongs to.
    uint64_t keyboard() const { return keyboard_; }
    const Identity& identity() const { return identity_; }
    size_t collectionIndex() const { return collection_; }
    CollectionUsage collection() const { return descriptor_->collections()[collection_]; }
    bool carries(const UnitMatch& unit) const;
    Failure failure() const { return failure_.load(); }
    std::chrono::steady_clock::time_point openedAt() const { return openedAt_; }

    // How the report that starts with `reportId` goes out as the collection's
    // standing status: an output report where the descriptor declares one, a
    // feature report where it declares only that.
    ReportType statusType(uint8_t reportId) const;

    // Sends an output or feature report, report id first, zero-padded to the
    // length the descriptor declares for that id. Bytes sent, kClosed,
    // kTooShort, or HidConnection's kGone / kFailed.
    int send(ReportType type, const uint8_t* data, size_t length, ReportSink& sink);
    int getFeature(uint8_t* data, size_t length, ReportSink& sink);

private:
    void run(ReportSink& sink, HidBackend& backend);
    // Reads until nothing is queued. False once the channel failed.
    bool drain(ReportSink& sink);
    void route(ReportSink& sink, size_t length);
    void fail(Failure failure, ReportSink& sink);

    const uint64_t serial_;
    const uint64_t keyboard_;
    const Identity identity_;
    const std::shared_ptr<const ReportDescriptor> descriptor_;
    const size_t collection_;
    const std::chrono::steady_clock::time_point openedAt_;

    EventFd stop_;
    std::vector<uint8_t> buffer_;  // the reader thread's alone
    int readErrors_ = 0;           // the reader thread's alone
    std::thread thread_;
    std::atomic<Failure> failure_{Failure::None};

    std::mutex ioMutex_;
    std::unique_ptr<HidConnection> connection_;  // null once closed; closed under ioMutex_
};

}  // namespace ql::hid
