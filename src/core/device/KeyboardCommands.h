#pragma once

#include "core/device/ReportExchange.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace trevolin::device {

// Every command the program sends to the keyboard, one function each.
// Results: 1 accepted, 0 no keyboard, -1 write refused by the library,
// -2 no reply, -102/-103 refused by the keyboard, -201 out of range.
// Reads copy data only when the result is 1.
class KeyboardCommands {
public:
    static constexpr uint8_t CmdBeginConfig = 1;
    static constexpr uint8_t CmdEndConfig = 2;
    static constexpr uint8_t CmdReadInfo = 3;
    static constexpr uint8_t CmdWriteInfo = 4;
    static constexpr uint8_t CmdReadLighting = 5;
    static constexpr uint8_t CmdWriteLighting = 6;
    static constexpr uint8_t CmdReadKeymap = 7;
    static constexpr uint8_t CmdWriteKeymap = 8;
    static constexpr uint8_t CmdReadMacros = 9;
    static constexpr uint8_t CmdWriteMacros = 10;
    static constexpr uint8_t CmdReadDefaultKeymap = 15;
    static constexpr uint8_t CmdReadKeyColors = 16;
    static constexpr uint8_t CmdWriteKeyColors = 17;
    static constexpr uint8_t CmdBootMode = 0xEE;

    static constexpr size_t BlockSize = 512;
    static constexpr int BlockCount = 3;

    explicit KeyboardCommands(ReportExchange& exchange);

    [[nodiscard]] int BeginConfig();
    [[nodiscard]] int EndConfig();
    [[nodiscard]] int ReadInfo(uint8_t out44[44]);
    [[nodiscard]] int WriteInfo(const uint8_t in44[44]);
    [[nodiscard]] int ReadLighting(uint8_t out56[56], uint8_t length, uint16_t offset);
    [[nodiscard]] int WriteLighting(const uint8_t* data, uint8_t length, uint16_t offset);
    [[nodiscard]] int ReadKeymapBlock(uint8_t out512[512], int block);
    [[nodiscard]] int WriteKeymapBlock(const uint8_t in512[512], int block);
    [[nodiscard]] int ReadMacroArea(uint8_t* out, size_t count);
    [[nodiscard]] int WriteMacroArea(const uint8_t* in, size_t count);
    // What these four make the keyboard do is not known to this program;
    // only how they are sent is fixed (no data; 12 after a 10 ms pause), so
    // they are named by their numbers.
    [[nodiscard]] int Command11();
    [[nodiscard]] int Command12();
    [[nodiscard]] int Command13();
    [[nodiscard]] int Command14();
    [[nodiscard]] int ReadDefaultKeymap(uint8_t out512[512]);
    [[nodiscard]] int ReadKeyColors(uint8_t out56[56], uint8_t length, int keyIndex, int profile);
    [[nodiscard]] int WriteKeyColors(const uint8_t* data, uint8_t length, int keyIndex);
    // 1 when the library took the report: the keyboard is entering boot mode.
    [[nodiscard]] int EnterBootMode();

    // The profile whose colour page command 17 writes; the main window keeps
    // it in step with the keyboard's active profile.
    void SetCurrentProfile(int profile) { currentProfile_.store(profile); }
    int CurrentProfile() const { return currentProfile_.load(); }

    ReportExchange& Exchange() { return exchange_; }

    // Called before every command that may change the keyboard (the
    // bracket's begin and every write) with its command number and offset,
    // on the sending thread. A front end uses it to know that stopping now
    // could leave the keyboard half-written, or to tell what it changed.
    // Set it before the first command is sent.
    using ChangeObserver = std::function<void(uint8_t command, uint16_t offset)>;
    void SetBeforeChange(ChangeObserver observer) { beforeChange_ = std::move(observer); }

private:
    void WillChangeKeyboard(uint8_t command, uint16_t offset = 0) const;

    [[nodiscard]] int Simple(uint8_t command);
    [[nodiscard]] int ReadInto(uint8_t command, uint8_t length, uint16_t offset, uint8_t* out, size_t copy);
    [[nodiscard]] int WriteFrom(uint8_t command, const uint8_t* data, uint8_t length, uint16_t offset);

    ReportExchange& exchange_;
    std::atomic<int> currentProfile_{0};
    ChangeObserver beforeChange_;
};

}  // namespace trevolin::device
