// A macro as a text file: written, read back, and bad files refused with
// the line that is wrong.
#include "core/macros/MacroFile.h"

#include "core/macros/MacroEventSpec.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace trevolin::macros {
namespace {

MacroEvent Event(std::string_view spec)
{
    const auto parsed = ParseMacroEventSpec(spec);
    EXPECT_TRUE(parsed.event) << parsed.error;
    return parsed.event.value_or(MacroEvent{});
}

TEST(MacroFileTest, AWrittenMacroReadsBackTheSame)
{
    Macro macro;
    macro.id = 7;
    macro.name = u"Copy # all ünicode";
    macro.playCount = 255;
    macro.events = {Event("LeftCtrl:down:0"),   Event("C:down:50"),      Event("C:up"),
                    Event("LeftCtrl:up:40000"), Event("MouseLeft:down"), Event("WheelDown:up:10")};
    const auto written = MacroFile::Format(macro);
    ASSERT_FALSE(written.text.empty()) << written.error;
    const auto read = MacroFile::Parse(written.text);
    ASSERT_TRUE(read.macro) << read.line << ": " << read.error;
    EXPECT_EQ(read.macro->name, macro.name);
    EXPECT_EQ(read.macro->playCount, 255);
    EXPECT_EQ(read.macro->events, macro.events);
    EXPECT_EQ(read.macro->id, 0);

    // A key without a name cannot be written in a form that reads back.
    macro.events.push_back({0, 0x7777, MacroEvent::Press});
    const auto refused = MacroFile::Format(macro);
    EXPECT_TRUE(refused.text.empty());
    EXPECT_NE(refused.error.find("event 7"), std::string::npos) << refused.error;
    macro.events.back() = {40950, 0x1E, MacroEvent::Press};  // the longest pause a keyboard can hold
    EXPECT_NE(MacroFile::Format(macro).error.find("event 7 waits 40950 ms"), std::string::npos);
}

TEST(MacroFileTest, CommentsBlanksAndWindowsLineEndsAreAccepted)
{
    const auto read = MacroFile::Parse("\xEF\xBB\xBF# a macro\r\n\r\n  name =  Paste it \r\nrepeat=2\r\n"
                                       "LeftCtrl:down V:down:20   # press\r\n\tV:up LeftCtrl:up\r\n# done");
    ASSERT_TRUE(read.macro) << read.line << ": " << read.error;
    EXPECT_EQ(read.macro->name, u"Paste it");
    EXPECT_EQ(read.macro->playCount, 2);
    EXPECT_EQ(read.macro->events, (std::vector<MacroEvent>{Event("LeftCtrl:down"), Event("V:down:20"), Event("V:up"),
                                                           Event("LeftCtrl:up")}));
    EXPECT_EQ(MacroFile::Parse("name = x\nA:down\n").macro->playCount, 1);
}

TEST(MacroFileTest, BadFilesAreRefusedWithTheirLine)
{
    std::string tooMany = "name = many\n";
    for (size_t i = 0; i < Macro::MaxEvents; ++i)
        tooMany += "A:down\n";
    tooMany += "A:up\n";
    struct Case {
        std::string text;
        size_t line;
        std::string error;
    };
    const Case cases[] = {
        {"A:down\n", 0, "no \"name = ...\" line"},
        {"name = x\n# nothing\n", 0, "no events"},
        {"name = x\nname = y\nA:down", 2, "twice"},
        {"name = \nA:down", 1, "1 to 249"},
        {"name = 42\nA:down", 1, "bare number"},
        {"name = x\nrepeat = 0\nA:down", 2, "1 to 255"},
        {"name = x\nrepeat = 256\nA:down", 2, "1 to 255"},
        {"name = x\nrepeat = two\nA:down", 2, "1 to 255"},
        {"name = x\nrepeat = 1\nrepeat = 1\nA:down", 3, "twice"},
        {"name = x\ndelay = 10\nA:down", 2, "\"delay\""},
        {"name = x\n\nA:down B:sideways", 3, "down or up"},
        {"name = x\nNoSuchKey:down", 2, "not a key"},
        {"name = x\nA:down:40001", 2, "0 to 40000"},
        {tooMany, Macro::MaxEvents + 2, "at most 4000"},
    };
    for (const Case& c : cases) {
        const auto read = MacroFile::Parse(c.text);
        EXPECT_FALSE(read.macro) << c.text.substr(0, 40);
        EXPECT_EQ(read.line, c.line) << c.text.substr(0, 40);
        EXPECT_NE(read.error.find(c.error), std::string::npos) << read.error;
    }
}

TEST(MacroFileTest, FilesAreReadWholeOrNotAtAll)
{
    test::TempDir dir;
    std::string content;
    std::string error;
    EXPECT_TRUE(MacroFile::Read(dir.Write("m.txt", "name = x\nA:down\n"), content, error));
    EXPECT_EQ(content, "name = x\nA:down\n");
    EXPECT_FALSE(MacroFile::Read(dir.File("missing.txt"), content, error));
    EXPECT_EQ(error, "no such file or directory");
    EXPECT_FALSE(MacroFile::Read(dir.Write("big.txt", std::string(MacroFile::MaxSize + 1, '#')), content, error));
    EXPECT_NE(error.find("larger than"), std::string::npos);
    EXPECT_FALSE(MacroFile::Read(dir.Path().string(), content, error));
}

}  // namespace
}  // namespace trevolin::macros
