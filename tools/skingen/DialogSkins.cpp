#include "DialogSkins.h"

#include "SkinLooks.h"
#include "SkinPalette.h"

#include "core/skin/SkinIni.h"

#include <QPainter>

#include <fmt/format.h>

#include <string>
#include <vector>

namespace trevolin::skingen {

namespace {

enum class Kind { Plain, Primary, Tab, Icon, Page, Title };

struct Control {
    std::string key;
    QRect rect;
    Kind kind = Kind::Plain;
    QString glyph = {};
};

struct Dialog {
    std::string prefix;  // of the background and the mask
    QSize size;
    std::vector<Control> buttons;
    std::vector<std::pair<std::string, QRect>> placements;
};

// Whether the key assignment dialog's page (its tab) shows the button:
// the macro editor's buttons only the macro page, the on-screen keyboard
// button only the key page. Other dialogs show every button.
bool ShownOnPage(const std::string& key, const std::string& activeTab)
{
    if (activeTab.empty())
        return true;
    if (key.rfind("FUNC_MACRO_", 0) == 0)
        return activeTab == "CONTROL_MACRO";
    if (key == "CONTROL_OSK")
        return activeTab == "CONTROL_KEY";
    return true;
}

// One picture of a set: every button in the look this picture stands for;
// `activeTab` is drawn chosen in every state (the page the set belongs to).
DrawnPicture DrawState(const Dialog& dialog, Look look, const std::string& activeTab, bool withButtons)
{
    return SkinCanvas::Draw(dialog.size, palette::Window, [&](QPainter& painter) {
        // Buttons cut their faces one pixel up and left of their place.
        if (withButtons) {
            painter.translate(-1, -1);
        }
        painter.fillRect(QRect(QPoint(), dialog.size), palette::Window);
        painter.setPen(QPen(palette::Hairline, 1));
        painter.drawLine(QPointF(16, 44.5), QPointF(dialog.size.width() - 16, 44.5));
        if (!withButtons) {
            return;
        }
        for (const auto& control : dialog.buttons) {
            // A page's pictures hold only the buttons that page shows: the
            // page's panel shows its picture wherever a button is hidden.
            if (!ShownOnPage(control.key, activeTab))
                continue;
            const QRect& rect = control.rect;
            const Look shown = control.key == activeTab ? Look::Ticked : look;
            switch (control.kind) {
            case Kind::Page:
                SkinLooks::Panel(painter, rect, 10);
                break;
            case Kind::Title:
                painter.save();
                painter.setPen(Qt::NoPen);
                painter.setBrush(palette::Accent);
                painter.drawRoundedRect(QRectF(rect.left() + 2, rect.top() + 6, 4, rect.height() - 12), 2, 2);
                painter.restore();
                break;
            case Kind::Icon:
                SkinLooks::IconButton(painter, rect, shown == Look::Disabled ? Look::Normal : shown, control.glyph,
                                      control.glyph == QLatin1String("close"));
                break;
            case Kind::Primary:
                SkinLooks::Button(painter, rect, shown, true);
                break;
            case Kind::Tab:
            case Kind::Plain:
                SkinLooks::Button(painter, rect, shown, false, control.glyph);
                break;
            }
        }
    });
}

void WriteDialog(SkinWriter& writer, const Dialog& dialog, const std::vector<std::pair<std::string, Look>>& pictures,
                 const std::string& activeTab)
{
    for (const auto& [name, look] : pictures) {
        writer.Picture(name, DrawState(dialog, look, activeTab, true));
    }
}

void WriteFrame(SkinWriter& writer, const Dialog& dialog, std::string_view iniName)
{
    writer.Picture(dialog.prefix + "_back.jpg", DrawState(dialog, Look::Normal, {}, false));
    writer.Picture(dialog.prefix + "_mask.png", SkinCanvas::Draw(dialog.size, Qt::white, [&](QPainter& painter) {
                       painter.setPen(Qt::NoPen);
                       painter.setBrush(Qt::black);
                       painter.drawRoundedRect(QRectF(QPointF(0, 0), dialog.size), 12, 12);
                   }));
    std::string text = fmt::format("; Written by skingen.\n[{}]\nMain={}_back.jpg\nMask={}_mask.png\n\n[{}]\n",
                                   skin::SkinIni::Screen, dialog.prefix, dialog.prefix, skin::SkinIni::ButtonInfo);
    auto line = [&](const std::string& key, const QRect& r) {
        text += fmt::format("{}={},{},{},{}\n", key, r.x(), r.y(), r.width(), r.height());
    };
    for (const auto& control : dialog.buttons) {
        line(control.key, control.rect);
    }
    for (const auto& [key, rect] : dialog.placements) {
        line(key, rect);
    }
    writer.Text(iniName, text);
}

Dialog Composite()
{
    Dialog d{"composite", {640, 480}, {}, {}};
    d.buttons = {
        {"CONTROL_TITLE", {16, 10, 300, 30}, Kind::Title},
        {"CONTROL_KEY", {16, 54, 140, 32}, Kind::Tab},
        {"CONTROL_MACRO", {164, 54, 140, 32}, Kind::Tab},
        {"CONTROL_MEDIA", {312, 54, 140, 32}, Kind::Tab},
        {"CONTROL_FUNCTION", {460, 54, 140, 32}, Kind::Tab},
        {"CONTROL_MASK", {16, 94, 608, 328}, Kind::Page},
        {"CONTROL_CLEAR", {344, 160, 36, 36}, Kind::Icon, QStringLiteral("close")},
        {"CONTROL_OSK", {388, 160, 36, 36}, Kind::Icon, QStringLiteral("\u2328")},
        {"FUNC_MACRO_ADD", {218, 154, 28, 26}, Kind::Plain, QStringLiteral("+")},
        {"FUNC_MACRO_DELETE", {250, 154, 28, 26}, Kind::Plain, QStringLiteral("\u2212")},
        {"FUNC_MACRO_RECORD", {444, 190, 164, 32}},
        {"FUNC_MACRO_DELETE2", {444, 228, 164, 26}},
        {"FUNC_MACRO_CLEAR", {444, 258, 164, 26}},
        {"FUNC_MACRO_UP_TOP", {444, 288, 164, 26}},
        {"FUNC_MACRO_UP", {444, 318, 164, 26}},
        {"FUNC_MACRO_DOWN", {444, 348, 164, 26}},
        {"FUNC_MACRO_DOWN_BOTTOM", {444, 378, 164, 26}},
        {"CONTROL_APPLY", {284, 434, 104, 32}},
        {"CONTROL_CANCEL", {400, 434, 104, 32}},
        {"CONTROL_OK", {516, 434, 104, 32}, Kind::Primary},
    };
    d.placements = {
        {"KEY_SETTING", {32, 102, 400, 22}},
        {"TISHI_SINGLE_STATIC", {32, 130, 400, 20}},
        {"FUNC_KEY_INPUT", {32, 156, 300, 44}},
        {"FUNC_KEY_RADIO_KB", {32, 214, 20, 20}},
        {"FUNC_KEY_RADIO_KB_STATIC", {56, 214, 240, 20}},
        {"FUNC_KEY_RADIO_MOU", {32, 242, 20, 20}},
        {"FUNC_KEY_RADIO_MOU_STATIC", {56, 242, 240, 20}},
        {"FUNC_KEY_LIST_STATIC", {32, 286, 264, 20}},
        {"FUNC_KEY_LIST", {32, 310, 264, 28}},
        {"MEDIA_SETTING_TISHI", {32, 130, 400, 20}},
        {"FUNC_MEDIA_SELECT", {32, 156, 576, 250}},
        {"FUNCTION_KEY_SETTING_TISHI", {32, 130, 400, 20}},
        {"FUNC_FUNCTION_SELECT", {32, 156, 576, 250}},
        {"MARCO_NAME_SETTING", {32, 130, 180, 20}},
        {"FUNC_MACRO_LIST", {32, 154, 180, 26}},
        {"FUNC_MACRO_LIST2", {32, 190, 400, 214}},
        {"FUNC_MACRO_RECORD_DELAY", {444, 130, 20, 20}},
        {"FUNC_MACRO_RECORD_DELAY2", {468, 130, 140, 20}},
        {"FUNC_MACRO_CYCLES_PROMPT", {444, 156, 92, 24}},
        {"FUNC_MACRO_CYCLES", {540, 156, 68, 24}},
    };
    return d;
}

Dialog Profile()
{
    Dialog d{"profile", {520, 340}, {}, {}};
    d.buttons = {
        {"FUNC_ADD", {16, 250, 96, 32}},     {"FUNC_LOAD", {120, 250, 96, 32}},
        {"FUNC_DELETE", {224, 250, 96, 32}}, {"CONTROL_CANCEL", {184, 294, 104, 32}},
        {"CONTROL_OK", {296, 294, 104, 32}}, {"CONTROL2_APPLY", {408, 294, 96, 32}, Kind::Primary},
    };
    d.placements = {{"PROGRAM_LIST", {16, 56, 488, 182}}};
    return d;
}

Dialog Update()
{
    Dialog d{"update", {476, 276}, {}, {}};
    d.buttons = {
        {"CONTROL_OPENButton", {24, 104, 104, 32}},
        {"CONTROL_BACKUPButton", {136, 104, 104, 32}},
        {"CONTROL_CUPButton", {248, 224, 104, 32}},
        {"CONTROL_UPButton", {360, 224, 96, 32}},
    };
    d.placements = {{"CONTROL_UPStatic", {24, 56, 428, 42}}, {"CONTROL_UPCombox", {24, 56, 428, 42}}};
    return d;
}

}  // namespace

void DialogSkins::Write(SkinWriter& writer)
{
    const Dialog composite = Composite();
    WriteFrame(writer, composite, "Composite.ini");
    auto set = [](const std::string& prefix, bool withDisable) {
        std::vector<std::pair<std::string, Look>> pictures = {{prefix + "_normal.jpg", Look::Normal},
                                                              {prefix + "_over.jpg", Look::Hover},
                                                              {prefix + "_down.jpg", Look::Pressed}};
        if (withDisable) {
            pictures.push_back({prefix + "_disable.jpg", Look::Disabled});
        }
        return pictures;
    };
    WriteDialog(writer, composite, set("key", false), "CONTROL_KEY");
    WriteDialog(writer, composite, set("macro", true), "CONTROL_MACRO");
    WriteDialog(writer, composite, set("macro2", true), "CONTROL_MACRO");
    WriteDialog(writer, composite, set("media", false), "CONTROL_MEDIA");
    WriteDialog(writer, composite, set("function", false), "CONTROL_FUNCTION");

    const Dialog profile = Profile();
    WriteFrame(writer, profile, "Profile.ini");
    WriteDialog(writer, profile, set("Profile", false), {});

    const Dialog update = Update();
    WriteFrame(writer, update, "UpdateDlg.ini");
    WriteDialog(writer, update, {{"update_normal.jpg", Look::Normal}, {"update_over.jpg", Look::Hover}}, {});
}

}  // namespace trevolin::skingen
