/* The C ABI of the HID transport library. Every implementation (the hidraw
 * backend, the simulated keyboard, a test double) exports exactly these
 * symbols with exactly these layouts, so that any one can stand in for
 * another at run time. */
#ifndef QUELLINK_H
#define QUELLINK_H

#include <stdint.h>

#pragma pack(push, 1)
typedef struct QlUnitId {          /* 16 bytes, little-endian */
    uint32_t matchFlags;           /* 15 */
    uint16_t vendorId;             /* 0x0C45 */
    uint16_t productId;            /* 0x5004 */
    uint16_t usagePage;            /* collection */
    uint16_t usage;
    uint32_t reserved;             /* 0 */
} QlUnitId;
#pragma pack(pop)

typedef struct QlRequestInfo {     /* what the callback reads of a registered request */
    uint32_t tag;                  /* 'CTRL' 0x4354524C, 'CONS' 0x434F4E53, 'DEL' 0x004C4544 */
    uint32_t count;                /* kind 1: bytes received; kind 0: current device count */
    const uint8_t* data;           /* kind 1: the input report, report id first */
    uint16_t consumerCode;         /* consumer channel: the report's 16-bit consumer code */
} QlRequestInfo;

typedef struct QlNotification {
    uint32_t kind;                 /* 1 data received, 0 device count changed */
    const QlRequestInfo* request;
} QlNotification;

typedef uint32_t (*QlCallback)(const QlNotification* record);

#define QL_TAG_CTRL 0x4354524Cu
#define QL_TAG_CONS 0x434F4E53u
#define QL_TAG_DEL  0x004C4544u

/* Every call carries a checksum: the 32-bit wrapping sum of SumTable[b]
 * over, in order, the 16 bytes of the unit, the low 32 bits of the callback
 * address (little-endian; zero without a callback), the tag (little-endian)
 * and, for the calls that send data (RequestWriteOne, RequestWrite,
 * RequestStatusWrite, RequestStatusSetFeature), the data bytes.
 * SumTable[i] = (i * 0x9D + 0x3B) mod 256. A call whose checksum does not
 * match is refused with QL_ERR_CHECKSUM and sends nothing. */

/* Negative results every implementation uses for a refused call. */
#define QL_ERR_CHECKSUM   (-10)  /* the call's checksum does not match its arguments */
#define QL_ERR_ARGUMENT   (-11)  /* a null pointer or a length out of range */
#define QL_ERR_NO_DEVICE  (-12)  /* no device matches the unit */
#define QL_ERR_IO         (-13)  /* the device refused or failed the transfer */
#define QL_ERR_NOT_READY  (-14)  /* Init has not been called */
#define QL_ERR_PERMISSION (-15)  /* a matching device exists but cannot be opened */

#ifdef __cplusplus
extern "C" {
#endif
int32_t Init(int32_t flags);
int32_t End(void);
int32_t Debug(int32_t level);
int32_t RequestGetDeviceCount(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle);
int32_t RequestWriteOne(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length, uint32_t checksum, uint32_t* handle);
int32_t RequestWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length, uint32_t checksum, uint32_t* handle);
int32_t RequestAsyncRead(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint32_t checksum, uint32_t* handle);
int32_t RequestStatusWrite(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length, uint32_t checksum, uint32_t* handle);
int32_t RequestStatusGet(const QlUnitId* unit, QlCallback cb, uint32_t tag, uint8_t* data, uint32_t length, uint32_t checksum, uint32_t* handle);
int32_t RequestStatusSetFeature(const QlUnitId* unit, QlCallback cb, uint32_t tag, const uint8_t* data, uint32_t length, uint32_t checksum, uint32_t* handle);
int32_t DeleteRequestFromUnitId(uint32_t handle);
int32_t DeleteRequestFromHandle(uint32_t handle);

/* Optional, beyond the twelve: why no device is usable although one may be
 * attached (for example "permission denied on /dev/hidraw3"). Writes a
 * NUL-terminated sentence into buffer and returns QL_ERR_PERMISSION or
 * another negative result when there is a problem to report, 0 when none. */
int32_t QlDescribeProblem(char* buffer, uint32_t capacity);
#ifdef __cplusplus
}
#endif

#endif
