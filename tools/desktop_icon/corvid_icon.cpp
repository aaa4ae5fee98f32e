// Writes the program's icon as a PNG (the desktop entry's icon), drawn by the same painter
// paths as the board's pieces: corvid_icon FILE [SIZE].
#include "gui/qt/piece_images.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvid_icon FILE [SIZE]\n");
        return 2;
    }
    const int size = argc > 2 ? std::atoi(argv[2]) : 256;
    if (size < 16 || size > 1024) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (!corvid::programIcon(size).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "corvid_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
