// What one frame of the lighting preview costs in the desktop program,
// including the repaint of the keys whose tint changed: the program on the
// simulated keyboard, offscreen, the lighting view on and the wave chosen,
// each frame run and painted as the frame timer would. Run it with
// QT_SCALE_FACTOR=2 for a double-density screen.
#include "core/base/Environment.h"
#include "core/base/Locations.h"
#include "gui/lighting/KeyPreview.h"
#include "gui/mainwindow/QtPrompts.h"
#include "gui/startup/CTrevolinApp.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace trevolin;

namespace {


bool SpinUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer limit(20000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(data + QStringLiteral("/Dravik-RGB_01"));
    QFile view(data + QStringLiteral("/Dravik-RGB_01/wskb.ini"));
    if (!view.open(QIODevice::WriteOnly) || view.write("[KEYCOLOR]\nDengCheck=1\n") < 0)
        return 1;
    view.close();
    qputenv("TREVOLIN_SIM_STATE", dir.filePath(QStringLiteral("sim")).toUtf8());
    // Nobody answers messages here.
    gui::QtPrompts::SetAnswerer([](std::string_view, bool) { return false; });

    const auto env = base::Environment::FromValues({{"HOME", dir.filePath(QStringLiteral("home")).toStdString()},
                                                    {"XDG_DATA_HOME", data.toStdString()},
                                                    {"XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toStdString()}});
    gui::CTrevolinApp::Options options;
    options.simulate = true;
    options.locations = base::Locations::Build(QCoreApplication::applicationFilePath().toStdString(), env);
    options.settingsFile = dir.filePath(QStringLiteral("config/settings.ini")).toStdString();
    gui::CTrevolinApp program;
    std::string problem;
    if (!options.locations || !program.Start(std::move(options), problem)) {
        std::fprintf(stderr, "preview_repaint: cannot start: %s\n", problem.c_str());
        return 1;
    }
    gui::KeyPreview& preview = *program.Window().Preview();
    if (!SpinUntil([&] {
            return program.Window().KeyboardPresent() && !program.Keyboard().Worker().Busy() && preview.Running();
        })) {
        std::fprintf(stderr, "preview_repaint: the preview did not start\n");
        return 1;
    }
    // Well into the wave, then measured frame by frame.
    for (int f = 0; f < 200; ++f) {
        preview.RunFrame();
        QCoreApplication::processEvents();
    }
    const int Frames = qEnvironmentVariableIsSet("BENCH_FRAMES") ? qEnvironmentVariableIntValue("BENCH_FRAMES") : 2000;
    std::vector<qint64> nanoseconds;
    nanoseconds.reserve(static_cast<size_t>(Frames));
    QElapsedTimer clock;
    for (int f = 0; f < Frames; ++f) {
        clock.start();
        preview.RunFrame();
        QCoreApplication::processEvents();
        nanoseconds.push_back(clock.nsecsElapsed());
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    double sum = 0;
    for (const qint64 n : nanoseconds)
        sum += static_cast<double>(n);
    std::printf("preview frame with repaint (offscreen, scale %s): mean %.0f us, median %.0f us, 99th percentile %.0f us\n",
                qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").constData() : "1",
                sum / Frames / 1000.0, static_cast<double>(nanoseconds[static_cast<size_t>(Frames / 2)]) / 1000.0,
                static_cast<double>(nanoseconds[static_cast<size_t>(Frames * 99 / 100)]) / 1000.0);
    gui::QtPrompts::SetAnswerer({});
    return 0;
}
