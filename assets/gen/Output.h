#pragma once
// Writing the generated files: pictures in the formats the install names,
// wave files, and the list of compiled-in resources.

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tessaly::assets {

class Output {
public:
    Output(QString distDir, QString resourceDir);

    // Install files, by their path under the install directory.
    void bmp(const QString& path, const QImage& image);
    void png(const QString& path, const QImage& image);
    void jpeg(const QString& path, const QImage& image);
    void gif(const QString& path, const QImage& image);
    void wav(const QString& path, const std::vector<float>& samples, int rate);

    // Compiled-in resources, found by number.
    void bitmapResource(int id, const QImage& image);
    void iconResource(int id, const QImage& image);   // every icon size is made from it

    // Writes the resource list for rcc; false when anything failed.
    bool finish();

private:
    QString prepare(const QString& directory, const QString& path);
    void check(bool ok, const QString& path);

    QString dist_;
    QString resources_;
    QStringList resourceFiles_;
    bool ok_ = true;
};

// Turns an antialiased picture with alpha into an opaque one for a colour
// key: nearly transparent pixels become the key; edge pixels are blended
// over `matte` (the colour the picture will mostly stand on), so no fringe
// of the key colour remains.
QImage keyed(const QImage& picture, QRgb key, QRgb matte);

} // namespace tessaly::assets
