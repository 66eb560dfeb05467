// The skin the generator wrote at build time fits the keyboard: every key
// has its place, no two keys overlap, every control the windows read is
// there, every picture they load decodes at its size and twice its size.

#include "SkinTestSupport.h"
#include "support/TempDir.h"

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/PanelControls.h"
#include "core/skin/MainSkin.h"
#include "core/skin/SkinIni.h"
#include "core/skin/SkinPictureName.h"

#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>

#include <map>

namespace trevolin::gui {
namespace {

skin::SkinIni LoadSkin(const char* name)
{
    skin::SkinIni ini;
    EXPECT_TRUE(ini.Load((test::GeneratedSkinFolder() + name).toStdString())) << name;
    return ini;
}

QRect RectOf(const skin::SkinIni& ini, std::string_view key, std::string_view section = skin::SkinIni::ButtonInfo)
{
    const auto reading = ini.Rect(section, key);
    EXPECT_EQ(reading.status, skin::SkinRectStatus::Ok) << key;
    return QRect(reading.rect.x, reading.rect.y, reading.rect.w, reading.rect.h);
}

QSize PictureSize(const skin::SkinIni& ini, const std::string& name)
{
    return QImageReader(QString::fromStdString(ini.Folder() + name)).size();
}

TEST(GeneratedSkinTest, EveryKeyHasItsOwnPlaceInsideTheWindow)
{
    const auto ini = LoadSkin("Main.ini");
    const QRect window(QPoint(0, 0), PictureSize(ini, ini.BackgroundName()));
    ASSERT_FALSE(window.isEmpty());
    std::vector<std::pair<std::string, QRect>> keys;
    keyboard::ForEachKey(
        [&](keyboard::KeyRef key) {
            const std::string name = keyboard::SkinNameOf(key);
            keys.emplace_back(name, RectOf(ini, name));
        },
        keyboard::FnKeyVisit::Last);
    ASSERT_EQ(keys.size(), keyboard::LayoutKeyCount + keyboard::GKeyCount + 1);
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto& [name, rect] = keys[i];
        EXPECT_TRUE(window.contains(rect)) << name;
        // Big enough to hit and to read.
        EXPECT_GE(rect.width(), 24) << name;
        EXPECT_GE(rect.height(), 18) << name;
        EXPECT_FALSE(rect.topLeft() == QPoint(1, 1)) << name;
        for (size_t j = i + 1; j < keys.size(); ++j) {
            EXPECT_FALSE(rect.intersects(keys[j].second)) << name << " overlaps " << keys[j].first;
        }
    }
}

TEST(GeneratedSkinTest, MainIniPlacesEveryControlTheWindowReads)
{
    const auto ini = LoadSkin("Main.ini");
    const QRect window(QPoint(0, 0), PictureSize(ini, ini.BackgroundName()));
    std::vector<std::pair<std::string, QRect>> buttons;
    for (const auto& key : skin::MainImageButtonKeys()) {
        buttons.emplace_back(key, RectOf(ini, key));
    }
    for (const auto& key : skin::MainPlacementKeys()) {
        EXPECT_TRUE(window.contains(RectOf(ini, key))) << key;
    }
    for (const auto& control : lighting::PanelControlTable()) {
        EXPECT_TRUE(ini.Value(skin::SkinIni::ButtonInfo, control.skinName).has_value()) << control.skinName;
    }
    // Image buttons never cover one another: each one's face is its own.
    for (size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_TRUE(window.contains(buttons[i].second)) << buttons[i].first;
        for (size_t j = i + 1; j < buttons.size(); ++j) {
            EXPECT_FALSE(buttons[i].second.intersects(buttons[j].second))
                << buttons[i].first << " overlaps " << buttons[j].first;
        }
    }
    // The arrows' faces lie inside "Arrow.jpg", cut one pixel up and left.
    const QRect arrows(QPoint(0, 0), PictureSize(ini, std::string(skin::main_skin::ArrowPicture)));
    const QSize arrowSize = RectOf(ini, skin::main_skin::LeftArrowKey).size();
    for (const auto& key : skin::MainArrowFaceKeys()) {
        const QRect face = RectOf(ini, key, skin::SkinIni::ButtonInfo2);
        EXPECT_TRUE(arrows.contains(QRect(face.topLeft() - QPoint(1, 1), arrowSize))) << key;
    }
    EXPECT_FALSE(ini.String(skin::SkinIni::Screen, skin::main_skin::LinkKey, "").empty());
}

TEST(GeneratedSkinTest, DialogInisPlaceTheirControls)
{
    const std::map<const char*, std::vector<const char*>> keys = {
        {"Profile.ini",
         {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY", "PROGRAM_LIST"}},
        {"UpdateDlg.ini",
         {"CONTROL_CUPButton", "CONTROL_UPButton", "CONTROL_OPENButton", "CONTROL_BACKUPButton", "CONTROL_UPStatic",
          "CONTROL_UPCombox"}},
        {"Composite.ini",
         {"CONTROL_MASK",
          "CONTROL_TITLE",
          "CONTROL_OSK",
          "CONTROL_CLEAR",
          "CONTROL_MEDIA",
          "CONTROL_MACRO",
          "CONTROL_KEY",
          "CONTROL_FUNCTION",
          "CONTROL_OK",
          "CONTROL_CANCEL",
          "FUNC_MACRO_DELETE",
          "FUNC_MACRO_ADD",
          "FUNC_MACRO_UP_TOP",
          "FUNC_MACRO_UP",
          "FUNC_MACRO_DOWN",
          "FUNC_MACRO_DOWN_BOTTOM",
          "FUNC_MACRO_DELETE2",
          "FUNC_MACRO_CLEAR",
          "FUNC_MACRO_RECORD",
          "FUNC_MACRO_RECORD_DELAY",
          "FUNC_MACRO_LIST2",
          "FUNC_MACRO_CYCLES",
          "FUNC_MACRO_CYCLES_PROMPT",
          "TISHI_SINGLE_STATIC",
          "MARCO_NAME_SETTING",
          "KEY_SETTING",
          "MEDIA_SETTING_TISHI",
          "FUNCTION_KEY_SETTING_TISHI",
          "FUNC_MACRO_RECORD_DELAY2",
          "FUNC_KEY_INPUT",
          "FUNC_MEDIA_SELECT",
          "FUNC_MACRO_LIST",
          "FUNC_FUNCTION_SELECT",
          "FUNC_KEY_RADIO_KB",
          "FUNC_KEY_RADIO_KB_STATIC",
          "FUNC_KEY_RADIO_MOU",
          "FUNC_KEY_RADIO_MOU_STATIC"}},
    };
    for (const auto& [file, names] : keys) {
        const auto ini = LoadSkin(file);
        const QRect window(QPoint(0, 0), PictureSize(ini, ini.BackgroundName()));
        ASSERT_FALSE(window.isEmpty()) << file;
        for (const char* name : names) {
            EXPECT_TRUE(window.contains(RectOf(ini, name))) << file << ' ' << name;
        }
    }
}

TEST(GeneratedSkinTest, EveryPictureDecodesWithItsDoubleSizeTwin)
{
    std::vector<std::string> names = {"main_back.jpg",   "main_mask.png", "Arrow.jpg",    "main_color0.jpg",
                                      "main_color1.jpg", "tray_128.png",  "tray_141.png", "tray_142.png"};
    for (auto picture :
         {skin::MainPicture::Normal, skin::MainPicture::Over, skin::MainPicture::Down, skin::MainPicture::Disable}) {
        names.emplace_back(skin::MainPictureFile(picture));
    }
    for (const char* set : {"key", "macro", "macro2", "media", "function", "Profile", "update"}) {
        for (const char* state : {"normal", "over"}) {
            names.push_back(std::string(set) + "_" + state + ".jpg");
        }
    }
    for (const char* set : {"key", "macro", "macro2", "media", "function", "Profile"}) {
        names.push_back(std::string(set) + "_down.jpg");
    }
    names.push_back("macro_disable.jpg");
    names.push_back("macro2_disable.jpg");
    for (const auto& panel : lighting::PanelPictureFiles()) {
        names.emplace_back(panel);
    }
    for (const auto& name : names) {
        const QString path = test::GeneratedSkinFolder() + QString::fromStdString(name);
        QString error;
        const QImage single = SkinPictures::Decode(path, error);
        ASSERT_FALSE(single.isNull()) << name << ": " << error.toStdString();
        const QImage twice =
            SkinPictures::Decode(QString::fromStdString(skin::DoubleSizePictureName(path.toStdString())), error);
        ASSERT_FALSE(twice.isNull()) << name << " @2x: " << error.toStdString();
        EXPECT_EQ(twice.size(), single.size() * 2) << name;
    }
    // Each window's state pictures are as large as its background.
    const auto main = LoadSkin("Main.ini");
    EXPECT_EQ(PictureSize(main, "main_over.jpg"), PictureSize(main, main.BackgroundName()));
    EXPECT_EQ(PictureSize(main, main.MaskName()), PictureSize(main, main.BackgroundName()));
    EXPECT_TRUE(QFile::exists(QStringLiteral(TREVOLIN_BINARY_DIR "/bin/Help/index.html")));
}

std::map<QString, QByteArray> FilesOf(const QString& folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        files.emplace(path.mid(folder.size()), file.readAll());
    }
    return files;
}

TEST(GeneratedSkinTest, TheGeneratorWritesTheSameBytesEveryRun)
{
    test::TempDir first;
    test::TempDir second;
    for (const auto* folder : {&first, &second}) {
        QProcess generator;
        if (folder == &second) {
            // The user's fontconfig settings play no part.
            auto environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("FONTCONFIG_FILE"), QStringLiteral("/nonexistent/fonts.conf"));
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(first.Path().string()));
            generator.setProcessEnvironment(environment);
        }
        generator.start(QStringLiteral(TREVOLIN_BINARY_DIR "/bin/skingen"),
                        {QString::fromStdString(folder->Path().string())});
        ASSERT_TRUE(generator.waitForFinished(120000));
        ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    }
    const auto a = FilesOf(QString::fromStdString(first.Path().string()));
    const auto b = FilesOf(QString::fromStdString(second.Path().string()));
    ASSERT_GT(a.size(), 200u);
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        const auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name.toStdString();
        EXPECT_TRUE(bytes == other->second) << name.toStdString() << " differs between two runs";
    }
}

}  // namespace
}  // namespace trevolin::gui
