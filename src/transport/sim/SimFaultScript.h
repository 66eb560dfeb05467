// A script of faults for the requests to come, read from TREVOLIN_SIM_FAULTS
// so that a user, a bug report or an end-to-end test can try any command
// against a failing keyboard without writing code. The steps run one after
// the other, each for its count of requests, through the same counters as
// the C fault controls.
//
//   TREVOLIN_SIM_FAULTS="ok:12,late=1100:2,drop,status=0xFE:3,refuse-writes:4,echo,leave-after=5"
//
// A step is NAME[=VALUE][:COUNT], steps are separated by commas, spaces
// around them do not count, COUNT is 1 when left out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::sim {

struct SimFaultStep {
    enum class Kind {
        Pass,          // ok:N            the next N requests are answered normally
        Drop,          // drop:N          carried out, no reply
        Late,          // late=MS:N       answered MS milliseconds after they arrived
        Echo,          // echo:N          the reply carries the command + 1
        Status,        // status=S:N      not carried out, answered with status 0xFE or 0xFF
        RefuseWrites,  // refuse-writes:N the library refuses N writes (QL_ERR_IO); nothing arrives
        LeaveAfter,    // leave-after=N   N more requests are answered, then the keyboard leaves the bus
    };
    Kind kind = Kind::Pass;
    uint32_t count = 1;
    uint32_t value = 0;  // Late: milliseconds; Status: the status byte

    bool operator==(const SimFaultStep&) const = default;
};

class SimFaultScript {
public:
    static constexpr uint32_t kMaxCount = 1000000;
    static constexpr uint32_t kMaxLateMs = 60000;

    // The steps of `text` in order; an empty or blank text has none. False,
    // with `error` saying which step and why, for a text that is not a script.
    static bool parse(std::string_view text, std::vector<SimFaultStep>& steps, std::string& error);
};

}  // namespace trevolin::sim
