// The exported C functions of libquellink-sim.so: the twelve of quellink.h
// and the controls of QlSimControl.h, each handing over to SimTransport.
// Everything else in the library is hidden (see CMakeLists.txt).
#pragma GCC visibility push(default)
#include "../quellink.h"
#include "QlSimControl.h"
#pragma GCC visibility pop

#include "SimTransport.h"

using trevolin::sim::SimTransport;

namespace {
SimTransport& sim()
{
    return SimTransport::instance();
}
}  // namespace

extern "C" {

int32_t Init(int32_t flags)
{
    return sim().init(flags);
}
int32_t End(void)
{
    return sim().end();
}
int32_t Debug(int32_t level)
{
    return sim().debug(level);
}

int32_t RequestGetDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t*)
{
    return sim().getDeviceCount(unit, cb, tag, checksum);
}

int32_t RequestWriteOne(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                        uint32_t checksum, uint32_t*)
{
    return sim().writeReports(unit, cb, tag, data, length, checksum, true);
}

int32_t RequestWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                     uint32_t checksum, uint32_t*)
{
    return sim().writeReports(unit, cb, tag, data, length, checksum, false);
}

int32_t RequestAsyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle)
{
    return sim().asyncRead(unit, cb, tag, checksum, handle);
}

int32_t RequestStatusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                           uint32_t checksum, uint32_t* handle)
{
    return sim().statusWrite(unit, cb, tag, data, length, checksum, handle, false);
}

int32_t RequestStatusGet(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint8_t* data, uint32_t length,
                         uint32_t checksum, uint32_t*)
{
    return sim().statusGet(unit, cb, tag, data, length, checksum);
}

int32_t RequestStatusSetFeature(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length,
                                uint32_t checksum, uint32_t* handle)
{
    return sim().statusWrite(unit, cb, tag, data, length, checksum, handle, true);
}

int32_t DeleteRequestFromUnitId(uint32_t handle)
{
    return sim().deleteRequest(handle);
}
// The handle is the only way the program names a request, so both delete calls do the same.
int32_t DeleteRequestFromHandle(uint32_t handle)
{
    return sim().deleteRequest(handle);
}

int32_t QlSimReset(void)
{
    return sim().reset();
}
int32_t QlSimPlug(void)
{
    return sim().plug(true);
}
int32_t QlSimUnplug(void)
{
    return sim().plug(false);
}
int32_t QlSimSendConsumerCode(uint16_t code)
{
    return sim().sendConsumerCode(code);
}
int32_t QlSimSetLatency(uint32_t milliseconds)
{
    return sim().setLatency(milliseconds);
}
int32_t QlSimDropReplies(uint32_t n)
{
    return sim().dropReplies(n);
}
int32_t QlSimEchoOtherCommand(uint32_t n)
{
    return sim().echoOtherCommand(n);
}
int32_t QlSimFailStatus(uint8_t status, uint32_t n)
{
    return sim().failStatus(status, n);
}
int32_t QlSimRefuseWrites(int32_t n)
{
    return sim().refuseWrites(n);
}
int32_t QlSimLeaveBusAfter(uint32_t n)
{
    return sim().leaveBusAfter(n);
}
int32_t QlSimRunFaults(const char* script)
{
    return sim().runFaults(script ? script : "");
}
int32_t QlSimLogCount(void)
{
    return sim().logCount();
}
int32_t QlSimLogGet(uint32_t index, uint8_t report[64])
{
    return sim().logGet(index, report);
}
int32_t QlSimLogClear(void)
{
    return sim().logClear();
}
int32_t QlSimAreaSize(int32_t area)
{
    return sim().areaSize(area);
}
int32_t QlSimReadArea(int32_t area, uint32_t offset, uint8_t* out, uint32_t length)
{
    return sim().readArea(area, offset, out, length);
}
int32_t QlSimWriteArea(int32_t area, uint32_t offset, const uint8_t* data, uint32_t length)
{
    return sim().writeArea(area, offset, data, length);
}
int32_t QlSimGetStatusReport(uint8_t* out, uint32_t capacity)
{
    return sim().getStoredReport(false, out, capacity);
}
int32_t QlSimGetFeatureReport(uint8_t* out, uint32_t capacity)
{
    return sim().getStoredReport(true, out, capacity);
}
int32_t QlSimWaitIdle(uint32_t timeoutMs)
{
    return sim().waitIdle(timeoutMs);
}
int32_t QlSimGetStatePath(char* out, uint32_t capacity)
{
    return sim().getStatePath(out, capacity);
}

}  // extern "C"
