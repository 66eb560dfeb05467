#pragma once

#include "gui/skin/SkinFailure.h"
#include "gui/skin/SkinPictures.h"

#include <QImage>
#include <QString>

#include <vector>

namespace trevolin::test {

// The skin the build generated, beside the programs.
inline QString GeneratedSkinFolder()
{
    return QStringLiteral(TREVOLIN_BINARY_DIR "/bin/Skins/");
}

// Records skin failures instead of ending the test program, and starts
// with an empty picture cache so every test decodes what it loads.
class SkinFailureRecorder {
public:
    struct Failure {
        QString file;
        QString reason;
    };

    SkinFailureRecorder()
    {
        gui::SkinPictures::Forget();
        previous_ = gui::SkinFailure::SetHandler([this](const QString& file, const QString& reason) {
            failures_.push_back({file, reason});
        });
    }
    ~SkinFailureRecorder()
    {
        gui::SkinFailure::SetHandler(std::move(previous_));
        gui::SkinPictures::Forget();
    }
    SkinFailureRecorder(const SkinFailureRecorder&) = delete;
    SkinFailureRecorder& operator=(const SkinFailureRecorder&) = delete;

    const std::vector<Failure>& Failures() const { return failures_; }

private:
    gui::SkinFailure::Handler previous_;
    std::vector<Failure> failures_;
};

}  // namespace trevolin::test
