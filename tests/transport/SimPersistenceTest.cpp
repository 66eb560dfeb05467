// The state file: survives a restart, is replaced atomically, and a missing,
// corrupt or truncated one gives factory state (with one warning for the
// last two).
#include "SimTestSupport.h"

#include <filesystem>
#include <fstream>

namespace simtest {
namespace {

class SimPersistenceTest : public SimKeyboardTest {
protected:
    std::vector<uint8_t> fileBytes()
    {
        std::ifstream in(statePath_, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void writeFile(const std::vector<uint8_t>& bytes)
    {
        std::ofstream out(statePath_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // Restarts and returns what the keyboard printed on stderr meanwhile.
    std::string restartCapturingStderr()
    {
        EXPECT_TRUE(kb().waitIdle());
        EXPECT_EQ(kb().End(), 1);
        testing::internal::CaptureStderr();
        const int32_t up = kb().Init(0);
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(up, 1);
        listen();
        return printed;
    }
    void changeEverything()
    {
        const uint8_t light[3] = {7, 1, 3};
        const uint8_t keys[3] = {0x05, 0x01, 0x02};
        const uint8_t colour[3] = {0x10, 0x20, 0x30};
        const uint8_t macro[6] = {0xAA, 0x55, 0x06, 0x00, 0x00, 0x00};
        std::vector<uint8_t> info(44, 0);
        info[10] = 1;
        ASSERT_EQ(statusOf(makeRequest(6, 3, 84, light)), kOk);
        ASSERT_EQ(statusOf(makeRequest(8, 3, 512 + 30, keys)), kOk);
        ASSERT_EQ(statusOf(makeRequest(17, 3, 1453, colour)), kOk);
        ASSERT_EQ(statusOf(makeRequest(10, 6, 0, macro)), kOk);
        ASSERT_EQ(statusOf(makeRequest(4, 44, 0, info)), kOk);
    }
};

const int32_t kStoredAreas[] = {QL_SIM_AREA_LIGHTING, QL_SIM_AREA_KEYMAPS, QL_SIM_AREA_MACRO, QL_SIM_AREA_KEY_COLORS,
                                QL_SIM_AREA_INFO};

TEST_F(SimPersistenceTest, MemorySurvivesARestart)
{
    EXPECT_EQ(kb().statePath(), statePath_);
    changeEverything();
    std::vector<std::vector<uint8_t>> before;
    for (int32_t a : kStoredAreas)
        before.push_back(area(a));

    EXPECT_EQ(restartCapturingStderr(), "");
    for (size_t i = 0; i < std::size(kStoredAreas); ++i)
        EXPECT_EQ(area(kStoredAreas[i]), before[i]) << "area " << kStoredAreas[i];
    std::vector<uint8_t> info;
    ASSERT_TRUE(readBytes(3, 0, 44, info));
    EXPECT_EQ(info[10], 1);
}

TEST_F(SimPersistenceTest, DurableSavesWorkAlike)
{
    ASSERT_EQ(kb().End(), 1);
    ScopedEnv sync("TREVOLIN_SIM_FSYNC", "1");
    ASSERT_EQ(kb().Init(0), 1);
    listen();
    changeEverything();
    const std::vector<uint8_t> keymaps = area(QL_SIM_AREA_KEYMAPS);
    EXPECT_EQ(restartCapturingStderr(), "");
    EXPECT_EQ(area(QL_SIM_AREA_KEYMAPS), keymaps);
}

TEST_F(SimPersistenceTest, SavesAreAtomicAndOnlyWhenMemoryChanges)
{
    EXPECT_FALSE(std::filesystem::exists(statePath_)) << "reads and brackets change nothing";
    ASSERT_EQ(statusOf(makeRequest(1, 0, 0)), kOk);
    ASSERT_EQ(statusOf(makeRequest(3, 44, 0)), kOk);
    EXPECT_FALSE(std::filesystem::exists(statePath_));

    const uint8_t brightness = 3;
    ASSERT_EQ(statusOf(makeRequest(6, 1, 85, std::span(&brightness, 1))), kOk);
    ASSERT_TRUE(std::filesystem::exists(statePath_));
    const auto first = std::filesystem::last_write_time(statePath_);
    ASSERT_EQ(statusOf(makeRequest(6, 1, 85, std::span(&brightness, 1))), kOk);
    EXPECT_EQ(std::filesystem::last_write_time(statePath_), first) << "the same bytes again change nothing";

    changeEverything();
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        ++files;
        EXPECT_EQ(entry.path().string(), statePath_) << "no temporary file is left behind";
    }
    EXPECT_EQ(files, 1u);
}

TEST_F(SimPersistenceTest, TheFolderIsCreatedWhenMissing)
{
    ASSERT_EQ(kb().End(), 1);
    const std::string nested = folder_ + "/a/b/keyboard.state";
    ScopedEnv state("TREVOLIN_SIM_STATE", nested.c_str());
    ASSERT_EQ(kb().Init(0), 1);
    listen();
    changeEverything();
    EXPECT_TRUE(std::filesystem::exists(nested));
}

TEST_F(SimPersistenceTest, AMissingFileMeansFactoryStateWithoutAWarning)
{
    const std::vector<uint8_t> factory = area(QL_SIM_AREA_KEYMAPS);
    changeEverything();
    std::filesystem::remove(statePath_);
    EXPECT_EQ(restartCapturingStderr(), "");
    EXPECT_EQ(area(QL_SIM_AREA_KEYMAPS), factory);
}

struct Damage {
    const char* name;
    std::vector<uint8_t> (*apply)(std::vector<uint8_t>);
};

const Damage kDamages[] = {
    {"truncated to half",
     [](std::vector<uint8_t> b) {
         b.resize(b.size() / 2);
         return b;
     }},
    {"one byte short",
     [](std::vector<uint8_t> b) {
         b.pop_back();
         return b;
     }},
    {"one byte more",
     [](std::vector<uint8_t> b) {
         b.push_back(0);
         return b;
     }},
    {"empty", [](std::vector<uint8_t>) { return std::vector<uint8_t>{}; }},
    {"a flipped payload bit",
     [](std::vector<uint8_t> b) {
         b[b.size() / 2] ^= 0x10;
         return b;
     }},
    {"a huge length field",
     [](std::vector<uint8_t> b) {
         b[11] = 0x7F;
         return b;
     }},
    {"wrong magic",
     [](std::vector<uint8_t> b) {
         b[0] = 'X';
         return b;
     }},
    {"text",
     [](std::vector<uint8_t>) {
         const std::string t = "hello\n";
         return std::vector<uint8_t>(t.begin(), t.end());
     }},
};

TEST_F(SimPersistenceTest, ACorruptOrTruncatedFileMeansFactoryStateAndOneWarning)
{
    const std::vector<uint8_t> factoryKeymaps = area(QL_SIM_AREA_KEYMAPS);
    const std::vector<uint8_t> factoryLighting = area(QL_SIM_AREA_LIGHTING);
    changeEverything();
    const std::vector<uint8_t> good = fileBytes();
    ASSERT_FALSE(good.empty());

    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.name);
        writeFile(d.apply(good));
        const std::string printed = restartCapturingStderr();
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_NE(printed.find("corrupt"), std::string::npos) << printed;
        EXPECT_EQ(area(QL_SIM_AREA_KEYMAPS), factoryKeymaps);
        EXPECT_EQ(area(QL_SIM_AREA_LIGHTING), factoryLighting);
        std::vector<uint8_t> info;
        ASSERT_TRUE(readBytes(3, 0, 44, info));
        EXPECT_EQ(info[10], 0);
    }
    writeFile(good);
    EXPECT_EQ(restartCapturingStderr(), "");
    EXPECT_NE(area(QL_SIM_AREA_KEYMAPS), factoryKeymaps);
}

TEST_F(SimPersistenceTest, ResetStoresTheFactoryState)
{
    const std::vector<uint8_t> factory = area(QL_SIM_AREA_LIGHTING);
    changeEverything();
    ASSERT_EQ(kb().QlSimReset(), 1);
    EXPECT_EQ(area(QL_SIM_AREA_LIGHTING), factory);
    EXPECT_EQ(restartCapturingStderr(), "");
    EXPECT_EQ(area(QL_SIM_AREA_LIGHTING), factory);
}

// Two processes on one keyboard: another process's save (a new file renamed
// over the state file) is what this one's keyboard holds at its next request
// or control read, not the copy it loaded at Init.
TEST_F(SimPersistenceTest, AnotherProcessSaveIsWhatTheKeyboardHoldsNext)
{
    changeEverything();
    const std::vector<uint8_t> otherProcess = fileBytes();
    const std::vector<uint8_t> keymaps = area(QL_SIM_AREA_KEYMAPS);
    ASSERT_EQ(kb().QlSimReset(), 1);
    ASSERT_NE(area(QL_SIM_AREA_KEYMAPS), keymaps);

    const std::string temp = statePath_ + ".other";
    {
        std::ofstream out(temp, std::ios::binary);
        out.write(reinterpret_cast<const char*>(otherProcess.data()),
                  static_cast<std::streamsize>(otherProcess.size()));
    }
    std::filesystem::rename(temp, statePath_);
    std::vector<uint8_t> info;
    ASSERT_TRUE(readBytes(3, 0, 44, info));
    EXPECT_EQ(info[10], 1) << "the active profile the other process stored";
    EXPECT_EQ(area(QL_SIM_AREA_KEYMAPS), keymaps);

    // A damaged file from elsewhere is not taken: the memory stays.
    writeFile({1, 2, 3});
    EXPECT_EQ(area(QL_SIM_AREA_KEYMAPS), keymaps);
}

struct PathCase {
    const char* name;
    const char* state;
    const char* xdgData;
    const char* home;
    const char* expected;  // relative to the test folder
};

TEST_F(SimPersistenceTest, TheDefaultPathFollowsXdg)
{
    const PathCase cases[] = {
        {"explicit", "@/x.state", "@/data", "@/home", "/x.state"},
        {"xdg data home", nullptr, "@/data", "@/home", "/data/Dravik-RGB_01/simulated-keyboard.state"},
        {"empty xdg falls back to home", "", "", "@/home", "/home/.local/share/Dravik-RGB_01/simulated-keyboard.state"},
        {"relative xdg is ignored", nullptr, "data", "@/home",
         "/home/.local/share/Dravik-RGB_01/simulated-keyboard.state"},
    };
    ASSERT_EQ(kb().End(), 1);
    auto expand = [&](const char* v) -> std::optional<std::string> {
        if (!v)
            return std::nullopt;
        std::string s = v;
        return s.starts_with("@") ? folder_ + s.substr(1) : s;
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto state = expand(c.state), data = expand(c.xdgData), home = expand(c.home);
        ScopedEnv s("TREVOLIN_SIM_STATE", state ? state->c_str() : nullptr);
        ScopedEnv x("XDG_DATA_HOME", data ? data->c_str() : nullptr);
        ScopedEnv h("HOME", home ? home->c_str() : nullptr);
        ASSERT_EQ(kb().Init(0), 1);
        EXPECT_EQ(kb().statePath(), folder_ + c.expected);
        ASSERT_EQ(kb().End(), 1);
    }
    ASSERT_EQ(kb().Init(0), 1);
}

}  // namespace
}  // namespace simtest
