// The C entry points of libquellink.so. Nothing may throw out of them.
#pragma GCC visibility push(default)
#include "../quellink.h"
#pragma GCC visibility pop

#include "HidrawBackend.h"
#include "QuellinkApi.h"

#include <memory>

namespace {

ql::hid::QuellinkApi& api()
{
    // Never destroyed: at process exit the program's callbacks may still be
    // running on our threads, and joining them from a static destructor could
    // hang the exit. End() is the orderly way down.
    static auto* const instance = new ql::hid::QuellinkApi([]() -> std::unique_ptr<ql::hid::HidBackend> {
        auto backend = std::make_unique<ql::hid::HidrawBackend>();
        if (!backend->ready())
            return nullptr;
        return backend;
    });
    return *instance;
}

template <typename Call>
int32_t guarded(Call&& call) noexcept
{
    try {
        return call();
    } catch (...) {
        return QL_ERR_IO;
    }
}

}  // namespace

extern "C" {

int32_t Init(int32_t flags)
{
    return guarded([&] { return api().init(flags); });
}

int32_t End(void)
{
    return guarded([&] { return api().end(); });
}

int32_t Debug(int32_t level)
{
    return guarded([&] { return api().debug(level); });
}

int32_t RequestGetDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t*)
{
    return guarded([&] { return api().getDeviceCount(unit, cb, tag, checksum); });
}

int32_t RequestWriteOne(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                        uint32_t checksum, uint32_t*)
{
    return guarded([&] { return api().writeOne(unit, cb, tag, data, length, checksum); });
}

int32_t RequestWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                     uint32_t checksum, uint32_t*)
{
    return guarded([&] { return api().write(unit, cb, tag, data, length, checksum); });
}

int32_t RequestAsyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle)
{
    return guarded([&] { return api().asyncRead(unit, cb, tag, checksum, handle); });
}

int32_t RequestStatusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                           uint32_t checksum, uint32_t* handle)
{
    return guarded([&] { return api().statusWrite(unit, cb, tag, data, length, checksum, handle); });
}

int32_t RequestStatusGet(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint8_t* data, uint32_t length,
                         uint32_t checksum, uint32_t*)
{
    return guarded([&] { return api().statusGet(unit, cb, tag, data, length, checksum); });
}

int32_t RequestStatusSetFeature(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                                uint32_t checksum, uint32_t*)
{
    return guarded([&] { return api().statusSetFeature(unit, cb, tag, data, length, checksum); });
}

int32_t DeleteRequestFromUnitId(uint32_t handle)
{
    return guarded([&] { return api().deleteRequest(handle); });
}

int32_t DeleteRequestFromHandle(uint32_t handle)
{
    return guarded([&] { return api().deleteRequest(handle); });
}

int32_t QlDescribeProblem(char* buffer, uint32_t capacity)
{
    return guarded([&] { return api().describeProblem(buffer, capacity); });
}

}  // extern "C"
