/* The simulated keyboard's control interface: extra C exports of
 * libquellink-sim.so beside the twelve of quellink.h, for tests, benchmarks
 * and tools. The program under test never calls them; it cannot tell the
 * simulator from a real keyboard.
 *
 * Every function returns 1 (or the documented count) on success and a
 * negative QL_ERR_* value when it refuses: QL_ERR_NOT_READY before Init,
 * QL_ERR_ARGUMENT for a null pointer, an unknown area or a range outside it.
 * None of them calls a callback on the caller's thread: notifications they
 * cause (device count, consumer codes) come on the simulator's own thread. */
#ifndef QL_SIM_CONTROL_H
#define QL_SIM_CONTROL_H

#include "../quellink.h"

#include <stdint.h>

/* Memory areas for QlSimReadArea / QlSimWriteArea / QlSimAreaSize. */
#define QL_SIM_AREA_INFO 0           /* 44 bytes (commands 3, 4) */
#define QL_SIM_AREA_LIGHTING 1       /* 3 x 42 bytes (commands 5, 6) */
#define QL_SIM_AREA_KEYMAPS 2        /* 3 x 512 bytes (commands 7, 8) */
#define QL_SIM_AREA_MACRO 3          /* info byte 11 x 128 bytes (commands 9, 10) */
#define QL_SIM_AREA_DEFAULT_KEYMAP 4 /* 512 bytes (command 15) */
#define QL_SIM_AREA_KEY_COLORS 5     /* 3 x 512 bytes (commands 16, 17) */

/* Reply status bytes the simulated keyboard uses. */
#define QL_SIM_STATUS_OK 0x00
#define QL_SIM_STATUS_BAD_REPORT 0xFF /* report id, report checksum, length > 56, unknown command */
#define QL_SIM_STATUS_REFUSED 0xFE    /* offset/length outside the area, active profile > 2 */

/* The consumer input report delivered on the consumer collection:
 * [QL_SIM_CONSUMER_REPORT_ID, code low byte, code high byte]. */
#define QL_SIM_CONSUMER_REPORT_ID 0x03
#define QL_SIM_CONSUMER_REPORT_SIZE 3

#ifdef __cplusplus
extern "C" {
#endif

/* Factory memory (saved to the state file), the model re-read from the
 * environment, plugged in, no faults, latency from the model, empty report
 * log, no status report. Reports not yet processed are discarded.
 * Registrations stay; if the keyboard was unplugged they are told the new
 * device count (kind 0). */
int32_t QlSimReset(void);

/* Plug in / unplug (also ends boot mode). Registrations get a kind-0
 * notification with the new count when the count changes. Unplugging drops
 * the reports not yet processed. */
int32_t QlSimPlug(void);
int32_t QlSimUnplug(void);

/* The keyboard sends a consumer code (0x02FF bank switch, 0x0401 lighting
 * changed, 0x0402 factory reset, 0x1810/0x1811 activity...) to every
 * registration on the consumer collection. QL_ERR_NO_DEVICE when unplugged. */
int32_t QlSimSendConsumerCode(uint16_t code);

/* Time between processing a request and delivering its reply, in ms. */
int32_t QlSimSetLatency(uint32_t milliseconds);

/* Faults. Each counts down per report the keyboard receives.
 * DropReplies: the next n requests are processed but get no reply.
 * EchoOtherCommand: the next n replies carry command byte + 1 (mod 256).
 * FailStatus: the next n requests are not processed and are answered with
 *   `status` (meant for 0xFF or 0xFE).
 * RefuseWrites: the next n RequestWriteOne/RequestWrite calls return
 *   QL_ERR_IO and nothing reaches the keyboard; n < 0 refuses until
 *   RefuseWrites(0) or a reset.
 * LeaveBusAfter: the keyboard answers n more reports and then leaves the bus
 *   (device count 0, kind-0 notification); n = 0 disarms. */
int32_t QlSimDropReplies(uint32_t n);
int32_t QlSimEchoOtherCommand(uint32_t n);
int32_t QlSimFailStatus(uint8_t status, uint32_t n);
int32_t QlSimRefuseWrites(int32_t n);
int32_t QlSimLeaveBusAfter(uint32_t n);
/* Clears every fault and starts a fault script (the TREVOLIN_SIM_FAULTS
 * syntax of SimFaultScript.h) for the requests to come, e.g.
 * "ok:7,status=0xFE:1"; an empty script leaves no faults. 0 for a text that
 * is not a script (the faults are then cleared). */
int32_t QlSimRunFaults(const char* script);

/* Every report that reached the keyboard, in order (at most 65536; later
 * ones are not recorded until the log is cleared). */
int32_t QlSimLogCount(void);
int32_t QlSimLogGet(uint32_t index, uint8_t report[64]);
int32_t QlSimLogClear(void);

/* Direct memory access, for test set-up and checks. Writes are saved to the
 * state file (the info block's model bytes and the default key map are not
 * persisted; a reset or a new Init restores them from the model). */
int32_t QlSimAreaSize(int32_t area);
int32_t QlSimReadArea(int32_t area, uint32_t offset, uint8_t* out, uint32_t length);
int32_t QlSimWriteArea(int32_t area, uint32_t offset, const uint8_t* data, uint32_t length);

/* The last report sent with RequestStatusWrite (the key-bank status) or
 * RequestStatusSetFeature: copies at most `capacity` bytes and returns the
 * report's length; 0 when none arrived since Init or reset. */
int32_t QlSimGetStatusReport(uint8_t* out, uint32_t capacity);
int32_t QlSimGetFeatureReport(uint8_t* out, uint32_t capacity);

/* Waits until every queued report and notification has been handled and no
 * callback is running: 1 when drained, 0 on timeout. Refused (QL_ERR_ARGUMENT)
 * from inside a callback, where it could never become true. */
int32_t QlSimWaitIdle(uint32_t timeoutMs);

/* The state file in use, like snprintf: copies at most capacity - 1 bytes
 * and a NUL, returns the path's full length (0: none, memory not persisted). */
int32_t QlSimGetStatePath(char* out, uint32_t capacity);

#ifdef __cplusplus
}
#endif

#endif
