#include "assets/gen/Output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gif_lib.h>
#include <map>

namespace tessaly::assets {
namespace {

// Median cut over the picture's colours; the key colour, when present, keeps
// a palette entry of its own so it stays exact.
std::vector<QRgb> palette(const QImage& image, QRgb key)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) & RGB_MASK];
    std::vector<QRgb> result;
    const bool hasKey = counts.erase(key & RGB_MASK) > 0;
    if (hasKey)
        result.push_back(key & RGB_MASK);
    std::vector<std::pair<QRgb, int>> colours(counts.begin(), counts.end());
    const size_t room = 256 - result.size();
    if (colours.size() <= room) {
        for (const auto& c : colours)
            result.push_back(c.first);
        return result;
    }
    using Box = std::vector<std::pair<QRgb, int>>;
    std::vector<Box> boxes{colours};
    auto channel = [](QRgb c, int k) { return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c); };
    while (boxes.size() < room) {
        size_t widest = 0;
        int widestRange = -1;
        int widestChannel = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].size() < 2)
                continue;
            for (int k = 0; k < 3; ++k) {
                const auto [lo, hi] = std::minmax_element(boxes[b].begin(), boxes[b].end(), [&](auto& l, auto& r) {
                    return channel(l.first, k) < channel(r.first, k);
                });
                const int range = channel(hi->first, k) - channel(lo->first, k);
                if (range > widestRange) {
                    widestRange = range;
                    widest = b;
                    widestChannel = k;
                }
            }
        }
        if (widestRange <= 0)
            break;
        Box& box = boxes[widest];
        std::sort(box.begin(), box.end(),
                  [&](auto& l, auto& r) { return channel(l.first, widestChannel) < channel(r.first, widestChannel); });
        Box upper(box.begin() + static_cast<long>(box.size() / 2), box.end());
        box.resize(box.size() / 2);
        boxes.push_back(std::move(upper));
    }
    for (const Box& box : boxes) {
        double r = 0, g = 0, b = 0, n = 0;
        for (const auto& [c, count] : box) {
            r += qRed(c) * count;
            g += qGreen(c) * count;
            b += qBlue(c) * count;
            n += count;
        }
        result.push_back(qRgb(int(std::lround(r / n)), int(std::lround(g / n)), int(std::lround(b / n))));
    }
    return result;
}

int nearest(const std::vector<QRgb>& colours, QRgb c, bool skipFirst)
{
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = skipFirst ? 1 : 0; i < colours.size(); ++i) {
        const int dr = qRed(colours[i]) - qRed(c), dg = qGreen(colours[i]) - qGreen(c),
                  db = qBlue(colours[i]) - qBlue(c);
        const int distance = dr * dr * 3 + dg * dg * 4 + db * db * 2;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

bool writeGif(const QString& path, const QImage& source, QRgb key)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> colours = palette(image, key);
    const bool keyFirst = !colours.empty() && colours.front() == (key & RGB_MASK);
    int error = 0;
    GifFileType* file = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    if (file == nullptr)
        return false;
    int bits = 1;
    while ((1 << bits) < static_cast<int>(colours.size()))
        ++bits;
    std::vector<GifColorType> entries(static_cast<size_t>(1 << bits));
    for (size_t i = 0; i < colours.size(); ++i)
        entries[i] = {static_cast<GifByteType>(qRed(colours[i])), static_cast<GifByteType>(qGreen(colours[i])),
                      static_cast<GifByteType>(qBlue(colours[i]))};
    ColorMapObject* map = GifMakeMapObject(1 << bits, entries.data());
    bool ok = EGifPutScreenDesc(file, image.width(), image.height(), bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(file, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    std::map<QRgb, int> cache;
    std::vector<GifPixelType> line(static_cast<size_t>(image.width()));
    for (int y = 0; ok && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & RGB_MASK;
            auto found = cache.find(c);
            if (found == cache.end()) {
                const int index = keyFirst && c == (key & RGB_MASK) ? 0 : nearest(colours, c, keyFirst);
                found = cache.emplace(c, index).first;
            }
            line[static_cast<size_t>(x)] = static_cast<GifPixelType>(found->second);
        }
        ok = EGifPutLine(file, line.data(), image.width()) == GIF_OK;
    }
    GifFreeMapObject(map);
    return EGifCloseFile(file, &error) == GIF_OK && ok;
}

void put16(QByteArray& out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

Output::Output(QString distDir, QString resourceDir) : dist_(std::move(distDir)), resources_(std::move(resourceDir)) {}

QString Output::prepare(const QString& directory, const QString& path)
{
    const QString full = QDir(directory).filePath(path);
    QDir().mkpath(QFileInfo(full).absolutePath());
    return full;
}

void Output::check(bool ok, const QString& path)
{
    if (!ok) {
        std::fprintf(stderr, "tessaly-assetgen: cannot write %s\n", qPrintable(path));
        ok_ = false;
    }
}

void Output::bmp(const QString& path, const QImage& image)
{
    check(image.convertToFormat(QImage::Format_RGB32).save(prepare(dist_, path), "BMP"), path);
}

void Output::png(const QString& path, const QImage& image)
{
    check(image.save(prepare(dist_, path), "PNG"), path);
}

void Output::jpeg(const QString& path, const QImage& image)
{
    check(image.convertToFormat(QImage::Format_RGB32).save(prepare(dist_, path), "JPEG", 92), path);
}

void Output::gif(const QString& path, const QImage& image)
{
    check(writeGif(prepare(dist_, path), image, 0xFF00FF), path);
}

void Output::wav(const QString& path, const std::vector<float>& samples, int rate)
{
    QByteArray data;
    for (float s : samples)
        put16(data, static_cast<int>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32000.0f)));
    QByteArray out("RIFF");
    put32(out, static_cast<quint32>(36 + data.size()));
    out.append("WAVEfmt ");
    put32(out, 16);
    put16(out, 1);            // PCM
    put16(out, 1);            // mono
    put32(out, static_cast<quint32>(rate));
    put32(out, static_cast<quint32>(rate * 2));
    put16(out, 2);
    put16(out, 16);
    out.append("data");
    put32(out, static_cast<quint32>(data.size()));
    out.append(data);
    QFile file(prepare(dist_, path));
    check(file.open(QIODevice::WriteOnly) && file.write(out) == out.size(), path);
}

void Output::bitmapResource(int id, const QImage& image)
{
    const QString name = QStringLiteral("bitmaps/%1.png").arg(id);
    check(image.convertToFormat(QImage::Format_RGB32).save(prepare(resources_, name), "PNG"), name);
    resourceFiles_ << name;
}

void Output::iconResource(int id, const QImage& image)
{
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("icons/%1/%2.png").arg(id).arg(size);
        const QImage scaled = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        check(scaled.save(prepare(resources_, name), "PNG"), name);
        resourceFiles_ << name;
    }
}

bool Output::finish()
{
    QFile file(prepare(resources_, QStringLiteral("tessaly_resources.qrc")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        check(false, file.fileName());
        return false;
    }
    QTextStream out(&file);
    out << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/tessaly\">\n";
    for (const QString& name : resourceFiles_)
        out << "    <file>" << name << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    return ok_;
}

QImage keyed(const QImage& picture, QRgb key, QRgb matte)
{
    QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = source.pixel(x, y);
            const int a = qAlpha(p);
            if (a < 100) {
                result.setPixel(x, y, key);
                continue;
            }
            auto mix = [a](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
            QRgb c = qRgb(mix(qRed(p), qRed(matte)), mix(qGreen(p), qGreen(matte)), mix(qBlue(p), qBlue(matte)));
            if ((c & RGB_MASK) == (key & RGB_MASK))
                c ^= 0x000001;   // never the key by accident
            result.setPixel(x, y, c);
        }
    }
    return result;
}

} // namespace tessaly::assets
