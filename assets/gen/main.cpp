// tessaly-assetgen DIST_DIR RESOURCE_DIR
// Draws every picture and synthesises every sound of the install into
// DIST_DIR (images/, cards/, chips/, sounds/) and the numbered resources,
// with their rcc list, into RESOURCE_DIR.

#include <QGuiApplication>
#include <cstdio>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessaly-assetgen DIST_DIR RESOURCE_DIR\n");
        return 2;
    }
    tessaly::assets::Output out(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    tessaly::assets::makeCards(out);
    tessaly::assets::makeChips(out);
    tessaly::assets::makeRooms(out);
    tessaly::assets::makeTableItems(out);
    tessaly::assets::makeChatPictures(out);
    tessaly::assets::makeBitmapResources(out);
    tessaly::assets::makeSounds(out);
    return out.finish() ? 0 : 1;
}
