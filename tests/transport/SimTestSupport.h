// Shared pieces of the simulated-keyboard tests: the test's own framing
// (written from the report layout, never core's and never the library's checksum
// helper), a recorder for notifications and a fixture that gives every test
// a fresh keyboard with its own state file.
#pragma once

#include "transport/sim/SimKeyboardControl.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace simtest {

using Report = std::array<uint8_t, 64>;
using trevolin::sim::SimKeyboardControl;

constexpr uint8_t kOk = 0x00;
constexpr uint8_t kBadReport = 0xFF;
constexpr uint8_t kRefused = 0xFE;

// --- framing -----------------------------------------------------------

uint16_t reportSum(const Report& report);  // low 16 bits of bytes 3..63
void seal(Report& report);                 // writes the sum into bytes 1-2
Report makeRequest(uint8_t command, uint8_t length, uint16_t offset, std::span<const uint8_t> data = {});
uint32_t callChecksum(const QlUnitId& unit, QlCallback cb, uint32_t tag, const uint8_t* data = nullptr,
                      size_t length = 0);

// --- notifications -----------------------------------------------------

struct Note {
    uint32_t kind = 0;
    uint32_t tag = 0;
    uint32_t count = 0;
    std::vector<uint8_t> data;
    uint16_t consumerCode = 0;
    std::thread::id thread;
};

// Everything the fixture's callback heard, in order. Callbacks run on the
// simulator's thread, so access is locked.
class Recorder {
public:
    static Recorder& instance();
    static uint32_t callback(const QlNotification* record);

    void clear();
    std::vector<Note> notes();
    std::vector<Note> notes(uint32_t tag, uint32_t kind);
    std::optional<Report> takeReply();  // oldest CTRL data note, removed

private:
    std::mutex mutex_;
    std::vector<Note> notes_;
};

// Sets or unsets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// --- fixture -------------------------------------------------------------

class SimKeyboardTest : public ::testing::Test {
protected:
    static SimKeyboardControl& kb() { return SimKeyboardControl::instance(); }

    void SetUp() override;
    void TearDown() override;

    // End and Init again with the same state file: a simulated restart.
    void restart();
    // Registers the recorder on the vendor (CTRL) and consumer (CONS) channels.
    void listen();

    int32_t send(const Report& report);
    // Sends one report and returns the reply (nullopt when none came).
    std::optional<Report> exchange(const Report& request);
    uint8_t statusOf(const Report& request);

    // Chunked transfers in 56-byte pieces; false on the first refused piece.
    bool readBytes(uint8_t command, uint16_t base, size_t length, std::vector<uint8_t>& out);
    bool writeBytes(uint8_t command, uint16_t base, std::span<const uint8_t> data);

    std::vector<uint8_t> area(int32_t which);

    std::string folder_;
    std::string statePath_;
    uint32_t vendorHandle_ = 0;
    uint32_t consumerHandle_ = 0;
};

}  // namespace simtest
