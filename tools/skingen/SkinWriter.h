#pragma once

#include "SkinCanvas.h"

#include <QString>

#include <string>
#include <string_view>

namespace trevolin::skingen {

// Writes the skin's files into one folder, each picture also as its "@2x"
// twin. Every file is replaced atomically, so a build that stops half way
// never leaves a torn picture for the program to load.
class SkinWriter {
public:
    explicit SkinWriter(QString folder);

    // The format follows the extension: ".jpg", ".png" or ".bmp".
    void Picture(std::string_view name, const DrawnPicture& picture);
    // Only the natural size (icons come in several sizes of their own).
    void SingleImage(std::string_view name, const QImage& image);
    void Text(std::string_view name, std::string_view text);

    const QString& Folder() const { return folder_; }
    // False once any file could not be written; Failure says which.
    bool Ok() const { return failure_.isEmpty(); }
    const QString& Failure() const { return failure_; }
    int FilesWritten() const { return written_; }

private:
    void Write(const QString& name, const std::string& bytes);
    std::string Encode(const QString& name, const QImage& image);

    QString folder_;
    QString failure_;
    int written_ = 0;
};

}  // namespace trevolin::skingen
