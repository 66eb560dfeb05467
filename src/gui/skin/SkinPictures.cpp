#include "gui/skin/SkinPictures.h"

#include "gui/skin/SkinFailure.h"

#include "core/skin/PictureLimits.h"
#include "core/skin/SkinPictureName.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <map>
#include <span>
#include <utility>

namespace trevolin::gui {

namespace {

std::map<std::pair<QString, bool>, QPixmap>& Cache()
{
    static std::map<std::pair<QString, bool>, QPixmap> cache;
    return cache;
}

int decodeCount = 0;

bool ReadWhole(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("the file is missing");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("the file cannot be read");
        return false;
    }
    if (file.size() > static_cast<qint64>(skin::PictureLimits::MaxFileBytes)) {
        error = QStringLiteral("the file is too large");
        return false;
    }
    bytes = file.readAll();
    if (bytes.size() != file.size()) {
        error = QStringLiteral("the file cannot be read");
        return false;
    }
    return true;
}

// Told the format (from the picture's first bytes) and kept to it, the
// reader loads no decoder it does not need: left to guess, it would load
// every image plugin to ask each one.
void TellFormat(QImageReader& reader, std::span<const uint8_t> start)
{
    const std::string_view format = skin::PictureLimits::FormatOf(start);
    reader.setFormat(QByteArray(format.data(), static_cast<qsizetype>(format.size())));
    reader.setAutoDetectImageFormat(false);
}

// The size a picture declares, from its header alone.
QSize DeclaredSize(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray start = file.peek(64);
    QImageReader reader(&file);
    TellFormat(reader, std::span(reinterpret_cast<const uint8_t*>(start.constData()), static_cast<size_t>(start.size())));
    return reader.size();
}

}  // namespace

QImage SkinPictures::Decode(const QString& path, QString& error)
{
    error.clear();
    QByteArray bytes;
    if (!ReadWhole(path, bytes, error)) {
        return {};
    }
    const std::span<const uint8_t> view(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                        static_cast<size_t>(bytes.size()));
    if (skin::PictureLimits::LooksTruncated(view)) {
        error = QStringLiteral("the picture is cut short");
        return {};
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    TellFormat(reader, view);
    if (!reader.canRead()) {
        error = QStringLiteral("not a picture this program can read");
        return {};
    }
    const QSize size = reader.size();
    if (size.isValid()) {
        if (const char* problem = skin::PictureLimits::SizeProblem(size.width(), size.height())) {
            error = QString::fromLatin1(problem);
            return {};
        }
    }
    QImage image;
    ++decodeCount;
    if (!reader.read(&image) || image.isNull()) {
        error = QStringLiteral("the picture cannot be decoded: %1").arg(reader.errorString());
        return {};
    }
    if (const char* problem = skin::PictureLimits::SizeProblem(image.width(), image.height())) {
        error = QString::fromLatin1(problem);
        return {};
    }
    return image;
}

QPixmap SkinPictures::Load(const QString& path, qreal devicePixelRatio)
{
    const bool doubled = skin::UsesDoubleSize(devicePixelRatio);
    const auto key = std::make_pair(path, doubled);
    if (auto found = Cache().find(key); found != Cache().end()) {
        return found->second;
    }
    QPixmap pixmap = LoadUncached(path, devicePixelRatio);
    if (!pixmap.isNull())
        Cache().emplace(key, pixmap);
    return pixmap;
}

QPixmap SkinPictures::LoadUncached(const QString& path, qreal devicePixelRatio)
{
    const bool doubled = skin::UsesDoubleSize(devicePixelRatio);
    QPixmap pixmap;
    if (doubled) {
        const QString twin = QString::fromStdString(skin::DoubleSizePictureName(path.toStdString()));
        const QSize single = DeclaredSize(path);
        if (QFileInfo(twin).isFile() && single.isValid() && DeclaredSize(twin) == single * 2) {
            QString error;
            QImage image = Decode(twin, error);
            if (!image.isNull()) {
                image.setDevicePixelRatio(2.0);
                pixmap = QPixmap::fromImage(std::move(image));
            }
        }
    }
    if (pixmap.isNull()) {
        QString error;
        QImage image = Decode(path, error);
        if (image.isNull()) {
            SkinFailure::Report(path, error);
            return {};
        }
        pixmap = QPixmap::fromImage(std::move(image));
    }
    return pixmap;
}

void SkinPictures::Forget()
{
    Cache().clear();
}

int SkinPictures::DecodeCount()
{
    return decodeCount;
}

}  // namespace trevolin::gui
