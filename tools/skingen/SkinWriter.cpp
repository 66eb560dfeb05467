#include "SkinWriter.h"

#include "core/base/AtomicFile.h"
#include "core/skin/SkinPictureName.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

namespace trevolin::skingen {

SkinWriter::SkinWriter(QString folder) : folder_(std::move(folder))
{
}

std::string SkinWriter::Encode(const QString& name, const QImage& image)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, suffix == "jpg" ? "jpeg" : suffix.toLatin1());
    if (suffix == "jpg") {
        // Fine key legends and hairlines: a high quality keeps them crisp.
        writer.setQuality(95);
        writer.setOptimizedWrite(true);
    }
    if (suffix == "png") {
        writer.setCompression(9);
    }
    // BMP has no alpha channel for a picture button's face; JPEG neither.
    const QImage toWrite = suffix == "png" ? image : image.convertToFormat(QImage::Format_RGB32);
    if (!writer.write(toWrite)) {
        failure_ = QStringLiteral("%1: %2").arg(name, writer.errorString());
        return {};
    }
    return bytes.toStdString();
}

void SkinWriter::Write(const QString& name, const std::string& bytes)
{
    if (!failure_.isEmpty()) {
        return;
    }
    const QString path = QDir(folder_).filePath(name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        failure_ = QStringLiteral("%1: cannot create its folder").arg(path);
        return;
    }
    if (!base::AtomicFile::Write(path.toStdString(), bytes)) {
        failure_ = QStringLiteral("%1: cannot write it").arg(path);
        return;
    }
    ++written_;
}

void SkinWriter::Picture(std::string_view name, const DrawnPicture& picture)
{
    const QString single = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    const QString twice = QString::fromStdString(skin::DoubleSizePictureName(name));
    Write(single, Encode(single, picture.single));
    Write(twice, Encode(twice, picture.twice));
}

void SkinWriter::SingleImage(std::string_view name, const QImage& image)
{
    const QString file = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    Write(file, Encode(file, image));
}

void SkinWriter::Text(std::string_view name, std::string_view text)
{
    Write(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), std::string(text));
}

}  // namespace trevolin::skingen
