#include "HidapiConnection.h"

#include <hidapi.h>

namespace ql::hid {

HidapiConnection::HidapiConnection(hid_device_* device)
    : device_(device)
{
}

HidapiConnection::~HidapiConnection()
{
    hid_close(device_);
}

int HidapiConnection::write(const uint8_t* data, size_t length)
{
    return hid_write(device_, data, length);
}

int HidapiConnection::read(uint8_t* buffer, size_t capacity, int timeoutMs)
{
    return hid_read_timeout(device_, buffer, capacity, timeoutMs);
}

int HidapiConnection::sendFeature(const uint8_t* data, size_t length)
{
    return hid_send_feature_report(device_, data, length);
}

int HidapiConnection::getFeature(uint8_t* buffer, size_t length)
{
    return hid_get_feature_report(device_, buffer, length);
}

}  // namespace ql::hid
