// skingen: draws Trevolin's skin and writes its ini files.
// usage: skingen [--fonts FOLDER] PROGRAM_FOLDER
// Writes PROGRAM_FOLDER/Skins and PROGRAM_FOLDER/Help.

#include "DialogSkins.h"
#include "HelpPage.h"
#include "Icons.h"
#include "MainLayout.h"
#include "MainPictures.h"
#include "PanelBitmaps.h"
#include "SkinLooks.h"
#include "SkinWriter.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

// Fontconfig reads only this file: the user's own settings (hinting,
// substitutions, extra fonts) never reach the pictures.
std::filesystem::path PrivateFontConfig(const std::string& fontFolder)
{
    const auto folder = std::filesystem::temp_directory_path() / ("trevolin-skingen-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream conf(folder / "fonts.conf");
    conf << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
         << "  <dir>" << fontFolder << "</dir>\n"
         << "  <cachedir>" << (folder / "cache").string() << "</cachedir>\n"
         << "</fontconfig>\n";
    return folder;
}

int Usage()
{
    std::fprintf(stderr, "usage: skingen [--fonts FOLDER] PROGRAM_FOLDER\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string fontFolder = "/usr/share/fonts/truetype/dejavu";
    std::string programFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fonts" && i + 1 < argc) {
            fontFolder = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && programFolder.empty()) {
            programFolder = arg;
        } else {
            return Usage();
        }
    }
    if (programFolder.empty()) {
        return Usage();
    }

    const auto configFolder = PrivateFontConfig(fontFolder);
    ::setenv("FONTCONFIG_FILE", (configFolder / "fonts.conf").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (const char* name :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING"}) {
        ::unsetenv(name);
    }
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
            QFontDatabase::addApplicationFont(QString::fromStdString(fontFolder + "/" + file));
        }
        if (QFontInfo(trevolin::skingen::SkinLooks::Font(12)).family() != QLatin1String("DejaVu Sans")) {
            std::fprintf(stderr, "skingen: DejaVu Sans not found in %s\n", fontFolder.c_str());
            status = 1;
        } else {
            trevolin::skingen::SkinWriter skins(QString::fromStdString(programFolder + "/Skins"));
            const trevolin::skingen::MainLayout layout;
            trevolin::skingen::MainPictures::Write(layout, skins);
            trevolin::skingen::PanelBitmaps::Write(layout, skins);
            trevolin::skingen::DialogSkins::Write(skins);
            trevolin::skingen::Icons::Write(skins);
            trevolin::skingen::SkinWriter help(QString::fromStdString(programFolder + "/Help"));
            trevolin::skingen::HelpPage::Write(help);
            for (const auto* writer : {&skins, &help}) {
                if (!writer->Ok()) {
                    std::fprintf(stderr, "skingen: %s\n", qPrintable(writer->Failure()));
                    status = 1;
                }
            }
            if (status == 0) {
                std::printf("skingen: %d files in %s\n", skins.FilesWritten() + help.FilesWritten(),
                            programFolder.c_str());
            }
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(configFolder, ignored);
    return status;
}
