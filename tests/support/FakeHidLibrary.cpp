#include "support/FakeHidLibrary.h"

#include "transport/QlChecksum.h"

#include <algorithm>
#include <cassert>

namespace trevolin::test {

namespace {

FakeHidLibrary* g_fake = nullptr;

std::string TagName(uint32_t tag)
{
    switch (tag) {
    case QL_TAG_CTRL:
        return "CTRL";
    case QL_TAG_CONS:
        return "CONS";
    case QL_TAG_DEL:
        return "DEL";
    case 0:
        return "0";
    }
    return std::to_string(tag);
}

int32_t FakeInit(int32_t flags)
{
    return g_fake->Init(flags);
}
int32_t FakeEnd()
{
    return 1;
}
int32_t FakeDebug(int32_t)
{
    return 1;
}
int32_t FakeGetDeviceCount(const QlUnitId* u, QlCallback cb, uint32_t tag, uint32_t sum, uint32_t*)
{
    return g_fake->GetDeviceCount(u, cb, tag, sum);
}
int32_t FakeWriteOne(const QlUnitId* u, QlCallback cb, uint32_t tag, const uint8_t* d, uint32_t n, uint32_t sum,
                     uint32_t*)
{
    return g_fake->WriteOne(u, cb, tag, d, n, sum);
}
int32_t FakeWrite(const QlUnitId*, QlCallback, uint32_t, const uint8_t*, uint32_t, uint32_t, uint32_t*)
{
    g_fake->calls.push_back("RequestWrite");
    return -1;
}
int32_t FakeAsyncRead(const QlUnitId* u, QlCallback cb, uint32_t tag, uint32_t sum, uint32_t* h)
{
    return g_fake->AsyncRead(u, cb, tag, sum, h);
}
int32_t FakeStatusWrite(const QlUnitId* u, QlCallback cb, uint32_t tag, const uint8_t* d, uint32_t n, uint32_t sum,
                        uint32_t* h)
{
    return g_fake->StatusWrite(u, cb, tag, d, n, sum, h);
}
int32_t FakeStatusGet(const QlUnitId*, QlCallback, uint32_t, uint8_t*, uint32_t, uint32_t, uint32_t*)
{
    g_fake->calls.push_back("RequestStatusGet");
    return -1;
}
int32_t FakeSetFeature(const QlUnitId*, QlCallback, uint32_t, const uint8_t*, uint32_t, uint32_t, uint32_t*)
{
    g_fake->calls.push_back("RequestStatusSetFeature");
    return -1;
}
int32_t FakeDelete(uint32_t handle)
{
    return g_fake->Delete(handle);
}
int32_t FakeDeleteFromHandle(uint32_t handle)
{
    return g_fake->Delete(handle);
}

}  // namespace

FakeHidLibrary::FakeHidLibrary()
{
    assert(g_fake == nullptr);
    g_fake = this;
}

FakeHidLibrary::~FakeHidLibrary()
{
    g_fake = nullptr;
}

device::HidLibrary FakeHidLibrary::Exports() const
{
    device::HidLibrary l;
    l.Init = &FakeInit;
    l.End = &FakeEnd;
    l.Debug = &FakeDebug;
    l.RequestGetDeviceCount = &FakeGetDeviceCount;
    l.RequestWriteOne = &FakeWriteOne;
    l.RequestWrite = &FakeWrite;
    l.RequestAsyncRead = &FakeAsyncRead;
    l.RequestStatusWrite = &FakeStatusWrite;
    l.RequestStatusGet = &FakeStatusGet;
    l.RequestStatusSetFeature = &FakeSetFeature;
    l.DeleteRequestFromUnitId = &FakeDelete;
    l.DeleteRequestFromHandle = &FakeDeleteFromHandle;
    return l;
}

bool FakeHidLibrary::ChecksumOk(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                                uint32_t checksum)
{
    if (unit && ql::callSum(unit, cb, tag, data, length) == checksum)
        return true;
    ++checksumFailures;
    return false;
}

int32_t FakeHidLibrary::Init(int32_t flags)
{
    std::lock_guard lock(mutex_);
    calls.push_back("Init " + std::to_string(flags));
    return initResult;
}

int32_t FakeHidLibrary::GetDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum)
{
    std::lock_guard lock(mutex_);
    if (!ChecksumOk(unit, cb, tag, nullptr, 0, checksum))
        return QL_ERR_CHECKSUM;
    return deviceCount;
}

int32_t FakeHidLibrary::WriteOne(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data,
                                 uint32_t length, uint32_t checksum)
{
    std::unique_lock lock(mutex_);
    if (!ChecksumOk(unit, cb, tag, data, length, checksum))
        return QL_ERR_CHECKSUM;
    calls.push_back("RequestWriteOne " + std::to_string(length));
    const auto request = device::DeviceReport::FromBytes(data, length);
    written.push_back(request);
    if (writeResult <= 0)
        return writeResult;

    Reply plan;
    if (!replies.empty()) {
        plan = replies.front();
        replies.pop_front();
    }
    if (plan.kind == Reply::Drop)
        return writeResult;
    const auto& answered = plan.kind == Reply::Stale && written.size() > 1 ? written[written.size() - 2] : request;
    device::DeviceReport reply(answered.Command(), answered.Length(), answered.Offset());
    if (plan.kind == Reply::OtherCommand)
        reply[3] = static_cast<uint8_t>(request.Command() + 1);
    reply[7] = plan.status;
    if (answer && plan.kind != Reply::OtherCommand)
        answer(answered, reply);
    reply.SetChecksum();
    const int32_t result = writeResult;
    lock.unlock();
    // A real library answers from its own thread while the sender waits;
    // answering here, before the write returns, is the same for the sender.
    if (replySink)
        replySink(reply.Bytes(), device::DeviceReport::Size);
    else
        Deliver(QL_TAG_CTRL, 1, device::DeviceReport::Size, reply.Bytes(), 0);
    return result;
}

int32_t FakeHidLibrary::AsyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum,
                                  uint32_t* handle)
{
    std::lock_guard lock(mutex_);
    calls.push_back("RequestAsyncRead " + TagName(tag));
    if (!ChecksumOk(unit, cb, tag, nullptr, 0, checksum) || !handle)
        return QL_ERR_CHECKSUM;
    *handle = nextHandle_++;
    registrations_.push_back({*unit, cb, tag, *handle});
    return 1;
}

int32_t FakeHidLibrary::StatusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data,
                                    uint32_t length, uint32_t checksum, uint32_t* handle)
{
    std::lock_guard lock(mutex_);
    calls.push_back("RequestStatusWrite " + TagName(tag));
    if (!ChecksumOk(unit, cb, tag, data, length, checksum) || length != 2 || !handle)
        return QL_ERR_CHECKSUM;
    statusWrites.push_back({data[0], data[1]});
    *handle = nextHandle_++;
    return 1;
}

int32_t FakeHidLibrary::Delete(uint32_t handle)
{
    std::lock_guard lock(mutex_);
    calls.push_back("DeleteRequestFromUnitId " + std::to_string(handle));
    std::erase_if(registrations_, [handle](const Registration& r) { return r.handle == handle; });
    return 1;
}

std::vector<FakeHidLibrary::Registration> FakeHidLibrary::Registrations() const
{
    std::lock_guard lock(mutex_);
    return registrations_;
}

void FakeHidLibrary::Deliver(uint32_t tag, uint32_t kind, uint32_t count, const uint8_t* data, uint16_t consumerCode)
{
    for (const auto& r : Registrations()) {
        if (r.tag != tag)
            continue;
        QlRequestInfo info{tag, count, data, consumerCode};
        QlNotification record{kind, &info};
        r.callback(&record);
    }
}

void FakeHidLibrary::NotifyCount(uint32_t count)
{
    {
        std::lock_guard lock(mutex_);
        deviceCount = static_cast<int>(count);
    }
    Deliver(QL_TAG_CTRL, 0, count, nullptr, 0);
}

void FakeHidLibrary::SendConsumer(uint16_t code)
{
    const uint8_t report[3] = {3, static_cast<uint8_t>(code), static_cast<uint8_t>(code >> 8)};
    Deliver(QL_TAG_CONS, 1, sizeof report, report, code);
}

void FakeHidLibrary::SendVendorData(const std::vector<uint8_t>& bytes)
{
    Deliver(QL_TAG_CTRL, 1, static_cast<uint32_t>(bytes.size()), bytes.data(), 0);
}

}  // namespace trevolin::test
