#include "SimTestSupport.h"

#include <cstdlib>
#include <filesystem>

namespace simtest {

uint16_t reportSum(const Report& report)
{
    unsigned sum = 0;
    for (size_t i = 3; i < report.size(); ++i)
        sum += report[i];
    return static_cast<uint16_t>(sum & 0xFFFF);
}

void seal(Report& report)
{
    const uint16_t sum = reportSum(report);
    report[1] = static_cast<uint8_t>(sum & 0xFF);
    report[2] = static_cast<uint8_t>(sum >> 8);
}

Report makeRequest(uint8_t command, uint8_t length, uint16_t offset, std::span<const uint8_t> data)
{
    Report r{};
    r[0] = 4;
    r[3] = command;
    r[4] = length;
    r[5] = static_cast<uint8_t>(offset & 0xFF);
    r[6] = static_cast<uint8_t>(offset >> 8);
    for (size_t i = 0; i < data.size() && i < 56; ++i)
        r[8 + i] = data[i];
    seal(r);
    return r;
}

uint32_t callChecksum(const QlUnitId& unit, QlCallback cb, uint32_t tag, const uint8_t* data, size_t length)
{
    // SumTable[i] = (i * 0x9D + 0x3B) mod 256, as quellink.h states it.
    auto add = [](uint32_t total, uint8_t b) { return total + ((b * 0x9Du + 0x3Bu) & 0xFFu); };
    uint32_t total = 0;
    const uint8_t unitBytes[16] = {static_cast<uint8_t>(unit.matchFlags),
                                   static_cast<uint8_t>(unit.matchFlags >> 8),
                                   static_cast<uint8_t>(unit.matchFlags >> 16),
                                   static_cast<uint8_t>(unit.matchFlags >> 24),
                                   static_cast<uint8_t>(unit.vendorId),
                                   static_cast<uint8_t>(unit.vendorId >> 8),
                                   static_cast<uint8_t>(unit.productId),
                                   static_cast<uint8_t>(unit.productId >> 8),
                                   static_cast<uint8_t>(unit.usagePage),
                                   static_cast<uint8_t>(unit.usagePage >> 8),
                                   static_cast<uint8_t>(unit.usage),
                                   static_cast<uint8_t>(unit.usage >> 8),
                                   static_cast<uint8_t>(unit.reserved),
                                   static_cast<uint8_t>(unit.reserved >> 8),
                                   static_cast<uint8_t>(unit.reserved >> 16),
                                   static_cast<uint8_t>(unit.reserved >> 24)};
    for (uint8_t b : unitBytes)
        total = add(total, b);
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cb));
    for (int i = 0; i < 4; ++i)
        total = add(total, static_cast<uint8_t>(address >> (8 * i)));
    for (int i = 0; i < 4; ++i)
        total = add(total, static_cast<uint8_t>(tag >> (8 * i)));
    for (size_t i = 0; data && i < length; ++i)
        total = add(total, data[i]);
    return total;
}

// --- Recorder ------------------------------------------------------------

Recorder& Recorder::instance()
{
    static Recorder recorder;
    return recorder;
}

uint32_t Recorder::callback(const QlNotification* record)
{
    Note note;
    note.kind = record->kind;
    note.tag = record->request->tag;
    note.count = record->request->count;
    note.consumerCode = record->request->consumerCode;
    note.thread = std::this_thread::get_id();
    if (record->kind == 1 && record->request->data && note.count <= 64)
        note.data.assign(record->request->data, record->request->data + note.count);
    Recorder& self = instance();
    std::lock_guard lock(self.mutex_);
    self.notes_.push_back(std::move(note));
    return 1;
}

void Recorder::clear()
{
    std::lock_guard lock(mutex_);
    notes_.clear();
}

std::vector<Note> Recorder::notes()
{
    std::lock_guard lock(mutex_);
    return notes_;
}

std::vector<Note> Recorder::notes(uint32_t tag, uint32_t kind)
{
    std::vector<Note> out;
    for (const Note& n : notes()) {
        if (n.tag == tag && n.kind == kind)
            out.push_back(n);
    }
    return out;
}

std::optional<Report> Recorder::takeReply()
{
    std::lock_guard lock(mutex_);
    for (auto it = notes_.begin(); it != notes_.end(); ++it) {
        if (it->tag == QL_TAG_CTRL && it->kind == 1 && it->data.size() == 64) {
            Report r{};
            std::copy(it->data.begin(), it->data.end(), r.begin());
            notes_.erase(it);
            return r;
        }
    }
    return std::nullopt;
}

// --- ScopedEnv -------------------------------------------------------------

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name)
{
    if (const char* old = std::getenv(name))
        old_ = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (old_)
        setenv(name_.c_str(), old_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

// --- fixture -----------------------------------------------------------------

void SimKeyboardTest::SetUp()
{
    ASSERT_TRUE(kb().ok()) << kb().error();
    kb().End();  // the environment is only changed while the library is down
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/trevolin-sim-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    statePath_ = folder_ + "/keyboard.state";
    setenv("TREVOLIN_SIM_STATE", statePath_.c_str(), 1);
    for (const char* name :
         {"TREVOLIN_SIM_FIRMWARE", "TREVOLIN_SIM_MACRO_UNITS", "TREVOLIN_SIM_EFFECTS", "TREVOLIN_SIM_LATENCY_MS",
          "TREVOLIN_SIM_PRESENT", "TREVOLIN_SIM_DEBUG", "TREVOLIN_SIM_FSYNC", "TREVOLIN_SIM_FAULTS"})
        unsetenv(name);
    Recorder::instance().clear();
    ASSERT_EQ(kb().Init(0), 1);
    listen();
}

void SimKeyboardTest::TearDown()
{
    if (!kb().ok())
        return;
    kb().waitIdle();
    kb().End();
    Recorder::instance().clear();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void SimKeyboardTest::restart()
{
    ASSERT_TRUE(kb().waitIdle());
    ASSERT_EQ(kb().End(), 1);
    Recorder::instance().clear();
    ASSERT_EQ(kb().Init(0), 1);
    listen();
}

void SimKeyboardTest::listen()
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    const QlUnitId consumer = SimKeyboardControl::consumerUnit();
    ASSERT_EQ(kb().RequestAsyncRead(&vendor, Recorder::callback, QL_TAG_CTRL,
                                    callChecksum(vendor, Recorder::callback, QL_TAG_CTRL), &vendorHandle_),
              1);
    ASSERT_EQ(kb().RequestAsyncRead(&consumer, Recorder::callback, QL_TAG_CONS,
                                    callChecksum(consumer, Recorder::callback, QL_TAG_CONS), &consumerHandle_),
              1);
}

int32_t SimKeyboardTest::send(const Report& report)
{
    const QlUnitId vendor = SimKeyboardControl::vendorUnit();
    return kb().RequestWriteOne(&vendor, nullptr, 0, report.data(), 64,
                                callChecksum(vendor, nullptr, 0, report.data(), 64), nullptr);
}

std::optional<Report> SimKeyboardTest::exchange(const Report& request)
{
    if (send(request) != 1)
        return std::nullopt;
    if (!kb().waitIdle())
        return std::nullopt;
    return Recorder::instance().takeReply();
}

uint8_t SimKeyboardTest::statusOf(const Report& request)
{
    const std::optional<Report> reply = exchange(request);
    EXPECT_TRUE(reply.has_value());
    return reply ? (*reply)[7] : uint8_t{0xAA};
}

bool SimKeyboardTest::readBytes(uint8_t command, uint16_t base, size_t length, std::vector<uint8_t>& out)
{
    out.clear();
    for (size_t k = 0; k < length; k += 56) {
        const auto piece = static_cast<uint8_t>(std::min<size_t>(56, length - k));
        const std::optional<Report> reply = exchange(makeRequest(command, piece, static_cast<uint16_t>(base + k)));
        if (!reply || (*reply)[7] == kBadReport || (*reply)[7] == kRefused)
            return false;
        out.insert(out.end(), reply->begin() + 8, reply->begin() + 8 + piece);
    }
    return true;
}

bool SimKeyboardTest::writeBytes(uint8_t command, uint16_t base, std::span<const uint8_t> data)
{
    for (size_t k = 0; k < data.size(); k += 56) {
        const size_t piece = std::min<size_t>(56, data.size() - k);
        const std::optional<Report> reply = exchange(
            makeRequest(command, static_cast<uint8_t>(piece), static_cast<uint16_t>(base + k), data.subspan(k, piece)));
        if (!reply || (*reply)[7] == kBadReport || (*reply)[7] == kRefused)
            return false;
    }
    return true;
}

std::vector<uint8_t> SimKeyboardTest::area(int32_t which)
{
    const int32_t size = kb().QlSimAreaSize(which);
    EXPECT_GE(size, 0);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(size, 0)));
    EXPECT_EQ(kb().QlSimReadArea(which, 0, bytes.data(), static_cast<uint32_t>(bytes.size())), 1);
    return bytes;
}

}  // namespace simtest
