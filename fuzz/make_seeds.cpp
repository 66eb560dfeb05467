// Writes the seed corpora of the fuzz targets: the profile files and macro
// areas the tests use, valid ones and the broken ones the readers must
// refuse, and ini files of the kinds users edit. Run from the repository root: fuzz/make_seeds fuzz/corpus
#include "core/keys/KeyAction.h"
#include "core/macros/Macro.h"
#include "core/macros/MacroPayload.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileImage.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/StoreMacroList.h"

#include <algorithm>
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
    return 0;
}
