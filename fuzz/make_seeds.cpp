// Writes the seed corpora of the fuzz targets: the profile files and macro
// areas the tests use, valid ones and the broken ones the readers must
// refuse, and ini files of the kinds users edit. Run from the repository root: fuzz/make_seeds fuzz/corpus
#include "core/keys/KeyAction.h"
#include "core/macros/Macro.h"
#include "core/macros/MacroEventSpec.h"
#include "core/macros/MacroFile.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/StoreMacroList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

using namespace trevolin;
using Bytes = std::vector<uint8_t>;

namespace {

// A seed that cannot be built is a broken generator: stop rather than
// write a corpus that tests nothing.
void Must(bool ok)
{
    if (!ok)
        std::abort();
}

std::filesystem::path root;

void Save(const std::string& target, const std::string& name, const Bytes& bytes)
{
    const auto folder = root / target;
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Put16(Bytes& b, size_t at, size_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

Bytes Serialized(profiles::ProfileStore& store)
{
    std::string out;
    Must(profiles::SerializeImage(store, out));
    return Bytes(out.begin(), out.end());
}

macros::Macro Make(uint16_t id, std::u16string name, std::vector<macros::MacroEvent> events)
{
    macros::Macro m;
    m.id = id;
    m.name = std::move(name);
    m.events = std::move(events);
    return m;
}

void ProfileSeeds()
{
    profiles::ProfileStore store;
    Save("profile_file", "default", Serialized(store));

    const auto put = [&](size_t layer, size_t index, uint16_t kind, std::u16string_view text) {
        const size_t slot = profiles::ProfileImage::SlotOf(layer, index);
        store.Image().SetEntryKind(slot, kind);
        Must(store.Texts().Set(slot, text));
    };
    put(0, 3, keys::KeyAction::TextBlock, u"hello");
    put(0, 300, keys::KeyAction::LaunchProgram, u"ab");
    put(1, 2, 2, u"zzz");
    put(1, 5, keys::KeyAction::LaunchProgram, u"C:/a/b.exe");
    const Bytes texts = Serialized(store);
    Save("profile_file", "texts", texts);

    profiles::CommitMacroList(store, std::vector{Make(1, u"Hello", {{0, 0x1D, 0}, {120, 0x1D, 1}})});
    store.Image().SetEntryKind(700, keys::KeyAction::Macro);
    store.Image().SetEntryValue(700, 1);
    const Bytes full = Serialized(store);
    Save("profile_file", "macro_and_texts", full);

    Bytes truncated = full;
    truncated.pop_back();
    Save("profile_file", "truncated", truncated);

    Bytes noNul = texts;
    std::fill(noNul.begin() + static_cast<std::ptrdiff_t>(profiles::FixedPartSize + 38), noNul.end(), 'x');
    Save("profile_file", "text_without_nul", noNul);

    Bytes outside = texts;
    Put32(outside, profiles::EntriesOffset + 3 * profiles::EntrySize + 4, 48);
    Save("profile_file", "offset_outside", outside);
}

void MacroSeeds()
{
    const auto encode = [](const std::vector<macros::Macro>& list, bool withNames) {
        profiles::ProfileStore store;
        profiles::CommitMacroList(store, list);
        const auto sizes = macros::MacroPayloadSizes(store.Image().MacroRecords());
        Bytes payload(withNames ? sizes.fullSize : sizes.bareSize);
        Must(macros::EncodeMacroPayload(store.Image().MacroRecords(), payload, withNames));
        return payload;
    };
    Save("macro_area", "empty", encode({}, false));
    const std::vector ctrl{Make(1, u"Hello", {{0, 0x1D, 0}, {0, 0x1D, 1}})};
    Save("macro_area", "hello_names", encode(ctrl, true));
    Save("macro_area", "hello_bare", encode(ctrl, false));
    const std::vector mixed{Make(1, u"One", {{1234, 0x1E, 0}, {41000, 0x1E, 1}}),
                            Make(2, u"Two", {{0, 0x172, 0}, {0, 0x162, 1}, {0, 0x15E, 0}}), Make(3, u"Three", {})};
    const Bytes three = encode(mixed, true);
    Save("macro_area", "three", three);

    Bytes intoHeader = three;
    Put16(intoHeader, 18, 4);
    Save("macro_area", "offset_into_header", intoHeader);
    Bytes longName = three;
    longName[three[20] + 3] = 6;
    Save("macro_area", "name_past_end", longName);
    Bytes bigCount = three;
    Put16(bigCount, 4, 30);
    Save("macro_area", "count_past_table", bigCount);
}

// The first line names what is read and written: "section|key|value|other
// section|other key", the bars becoming 0x01; the rest is the file.
void SaveIni(const std::string& name, std::string head, std::string_view file)
{
    std::replace(head.begin(), head.end(), '|', '\x01');
    const std::string text = head + "\n" + std::string(file);
    Save("ini_file", name, Bytes(text.begin(), text.end()));
}

void IniSeeds()
{
    SaveIni("language", "TEXT|HELLO|Hi there|MODE|20",
            "; language file\n[TEXT]\nHELLO=Hello\nEMPTY=\n[LIGHT]\nSPEED=Speed\n[MODE]\n20=Per-key colors\n");
    SaveIni("settings", "Software\\Dravik-RGB_01|dwLanguageId|dword:00000404|Trevolin_Marbeck\\PROFILES|Flip",
            "[Software\\Dravik-RGB_01]\ndwLanguageId=dword:00000409\n[Trevolin_Marbeck\\PROFILES]\nFlip=sz:1\n");
    SaveIni("bom_crlf_quotes", "Main|Title|  padded  |main|title",
            "\xEF\xBB\xBF[Main]\r\nTitle = \"  spaced  \"\r\nOther='x'\r\n");
    SaveIni("repeated_sections", "a|k|new|A|K2", "[a]\nk=1\n[b]\nk=2\n[A]\nk=3\nK2=4");
    SaveIni("no_section_yet", "New|key|\"q\"|Old|key", "[Old]\nkey=v\n  ; x=y\n=z\nnoequals");
    SaveIni("long_value", "L|k|short|L|long", "[L]\nlong=" + std::string(300, 'x') + "\n");
    SaveIni("utf8_cut", "L|k|\xC3\xA9|L|v", "[L]\nv=" + std::string(259, 'a') + "\xC3\xA9\xC3\xA9\n");
    SaveIni("lone_cr", "S|n|v|S|x", "[S]\nx=1\r");
    SaveIni("empty", "", "");
}

void SaveText(const std::string& target, const std::string& name, std::string_view text)
{
    Save(target, name, Bytes(text.begin(), text.end()));
}

void MacroFileSeeds()
{
    SaveText("macro_file", "copy_line",
             "# comment\nname = Copy line\nrepeat = 1\nLeftCtrl:down:0 C:down:50\nC:up:0\nLeftCtrl:up:0\n");
    SaveText("macro_file", "bom_crlf",
             "\xEF\xBB\xBF# a macro\r\n\r\n  name =  Paste it \r\nrepeat=2\r\n"
             "LeftCtrl:down V:down:20   # press\r\n\tV:up LeftCtrl:up\r\n# done");
    macros::Macro mouse = Make(0, u"Copy # all \u00fcnicode", {});
    for (const char* spec :
         {"LeftCtrl:down:0", "C:down:50", "C:up", "LeftCtrl:up:40000", "MouseLeft:down", "WheelDown:up:10"}) {
        const auto parsed = macros::ParseMacroEventSpec(spec);
        Must(parsed.event.has_value());
        mouse.events.push_back(*parsed.event);
    }
    mouse.playCount = 255;
    const auto written = macros::MacroFile::Format(mouse);
    Must(!written.text.empty());
    SaveText("macro_file", "written", written.text);
    SaveText("macro_file", "name_twice", "name = x\nname = y\nA:down");
    SaveText("macro_file", "bad_event", "name = x\n\nA:down B:sideways NoSuchKey:down A:down:40001");
    SaveText("macro_file", "bad_repeat", "name = x\nrepeat = 256\ndelay = 10\nA:down");
}

void LightPageSeeds()
{
    SaveText("light_page", "arrows",
             "# the arrows in red, everything else blue\n*      0,0,255\nUp     255,0,0\n"
             "Left   #ff0000   # a comment may follow the colour\nDown   red\n");
    SaveText("light_page", "bom_crlf_forms",
             "\xEF\xBB\xBF"
             "Esc\t#abc\r\nF1  10, 20 ,30\r\n  # x\r\nA white\r\nB black");
    SaveText("light_page", "no_colour", "Esc\n");
    SaveText("light_page", "bad_colour", "Esc 256,0,0\n");
    SaveText("light_page", "unknown_key", "NoSuchKey 1,2,3\n");
}

// The selector byte picks the arguments (see format_text_fuzzer.cpp), eight
// bytes give the integer.
void SaveFormat(const std::string& name, uint8_t selector, int64_t number, std::string_view format)
{
    Bytes bytes(9);
    bytes[0] = selector;
    std::memcpy(bytes.data() + 1, &number, sizeof number);
    bytes.insert(bytes.end(), format.begin(), format.end());
    Save("format_text", name, bytes);
}

void FormatSeeds()
{
    SaveFormat("plain", 0, 0, "#Error");
    SaveFormat("at_most", 1, 100, "At most %d macros, 100%% of %260d");
    SaveFormat("damaged", 2, 0, "%s is damaged.");
    SaveFormat("text_and_int", 3, -7, "%.3d|%-5s|%#x");
    SaveFormat("positions", 5, 40000, "%3$s then %2$hd, %4$+08i and %1$.2s");
    SaveFormat("flags", 6, -1, "%-5d|%05d|%+u|%x|%#X|%s");
    SaveFormat("lengths", 6, 300, "%hhd %hd %ld %lld %zu %jd");
    SaveFormat("refused", 1, 5, "%n %p %c %*d %261d %d");
    SaveFormat("unfinished", 4, 1, "%s %l");
}

void SkinPictureSeeds()
{
    using namespace std::string_view_literals;
    const auto save = [](const std::string& name, std::string_view head, size_t size) {
        Bytes bytes(head.begin(), head.end());
        bytes.resize(std::max(size, bytes.size()), 0xFF);
        Save("skin_picture", name, bytes);
    };
    save("png", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x04\0\0\0\x03\0"sv, 64);
    save("bmp", "BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x10\0\0\0\x10\0\0\0"sv, 64);
    save("gif", "GIF89a\x10\0\x10\0", 32);
    save("jpeg_whole", "\xFF\xD8\xFF\xE0\0\x10JFIF\0\0\0\0\0\0\0\0\0\0\0\0\xFF\xD9\0\0"sv, 28);
    save("jpeg_cut", "\xFF\xD8\xFF\xE0\0\x10JFIF\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"sv, 28);
    save("size_limit", "\0\x20\0\0\0\x10\0\0\xFF\xFF\xFF\x00\x10\x20\x30\x40"sv, 16);
}

void SimFaultSeeds()
{
    SaveText("sim_fault_script", "every_step",
             "ok:12,late=1100:2,drop,status=0xFE:3,refuse-writes:4,echo,leave-after=5");
    SaveText("sim_fault_script", "spaces", "ok:2, drop:2,echo , status=0xFF:2,ok,status=0xfe");
    SaveText("sim_fault_script", "decimal_status", "status=254:3,echo:2");
    SaveText("sim_fault_script", "blank", "  ");
    SaveText("sim_fault_script", "unknown", "drop,explode:2");
    SaveText("sim_fault_script", "bad_values", "drop:0,late=70000,leave-after=3:2,echo=0x0A,drop,,ok");
}

// Words split at zero bytes, as argv.
void SaveSwitches(const std::string& name, std::initializer_list<std::string_view> words)
{
    std::string text;
    bool first = true;
    for (const std::string_view word : words) {
        if (!first)
            text += '\0';
        text += word;
        first = false;
    }
    SaveText("startup_switches", name, text);
}

void SwitchSeeds()
{
    SaveSwitches("kill_start", {"/KILL", "/start", "--Kill", "--start"});
    SaveSwitches("ignored", {"-platform", "offscreen", "/Kil", "---kill", "//kill", "/", "--", ""});
    SaveSwitches("library", {"--hid-library", "/tmp/libquellink.so", "--version", "-h"});
    SaveSwitches("library_equals", {"--hid-library=", "--simulate", "--help"});
    SaveSwitches("library_last", {"--simulate", "--hid-library"});
}

void SingleInstanceSeeds()
{
    for (const char* code : {"OPEN", "KILL", "SYNC", "DONE", "OPENKILL", "OPE"})
        SaveText("single_instance_message", code, code);
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    root = argv[1];
    ProfileSeeds();
    MacroSeeds();
    IniSeeds();
    MacroFileSeeds();
    LightPageSeeds();
    FormatSeeds();
    SkinPictureSeeds();
    SimFaultSeeds();
    SwitchSeeds();
    SingleInstanceSeeds();
    return 0;
}
