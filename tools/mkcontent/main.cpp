// mkcontent: makes the show's data folder from content/, or expands one scene source.
//   mkcontent build CONTENT_DIR OUT_DIR [--no-music]
//   mkcontent expand SCENE_SOURCE
//   mkcontent sheet OUT.png COLUMNS CELL_WIDTH CELL_HEIGHT PICTURE...
//   mkcontent pictures OUT_DIR          the dialog pictures config.bmp and preview.bmp
#include "mkcontent/ContactSheet.h"
#include "mkcontent/ContentBuild.h"
#include "mkcontent/ImageFiles.h"
#include "mkcontent/Lettering.h"
#include "mkcontent/Shots.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

static int usage() {
    std::fprintf(stderr,
                 "usage: mkcontent build CONTENT_DIR OUT_DIR [--no-music]\n"
                 "       mkcontent expand SCENE_SOURCE\n"
                 "       mkcontent sheet OUT.png COLUMNS CELL_WIDTH CELL_HEIGHT PICTURE...\n"
                 "       mkcontent pictures OUT_DIR\n");
    return 2;
}

static bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

static int writeDialogPictures(const std::string& outDir) {
    struct Picture {
        const char* name;
        int width, height;
    };
    for (Picture picture : {Picture{"config.bmp", 263, 166}, Picture{"preview.bmp", 155, 115}}) {
        Image image;
        std::string error;
        if (!paintDialogPicture(defaultFontPath, picture.width, picture.height, image, error)) {
            std::fprintf(stderr, "mkcontent: %s\n", error.c_str());
            return 1;
        }
        std::string path = outDir + "/" + picture.name;
        if (!writeFile(path, encodeBmp(image))) {
            std::fprintf(stderr, "mkcontent: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "build") == 0) {
        ContentOptions options;
        options.contentDir = argv[2];
        options.outDir = argv[3];
        for (int i = 4; i < argc; ++i) {
            if (std::strcmp(argv[i], "--no-music") == 0) options.music = false;
            else return usage();
        }
        std::vector<std::string> written;
        std::string error;
        if (!buildContent(options, written, error)) {
            std::fprintf(stderr, "mkcontent: %s\n", error.c_str());
            return 1;
        }
        std::printf("mkcontent: %zu members in %s\n", written.size(), options.outDir.c_str());
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "expand") == 0) {
        std::ifstream in(argv[2], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "mkcontent: cannot read %s\n", argv[2]);
            return 1;
        }
        std::ostringstream source;
        source << in.rdbuf();
        std::string text, error;
        if (!expandScene(source.str(), text, error)) {
            std::fprintf(stderr, "mkcontent: %s: %s\n", argv[2], error.c_str());
            return 1;
        }
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    if (argc >= 7 && std::strcmp(argv[1], "sheet") == 0) {
        int columns = std::atoi(argv[3]), width = std::atoi(argv[4]), height = std::atoi(argv[5]);
        if (columns < 1 || width < 1 || height < 1) return usage();
        std::vector<std::string> pictures(argv + 6, argv + argc);
        if (!writePng(argv[2], makeContactSheet(pictures, columns, width, height))) {
            std::fprintf(stderr, "mkcontent: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "pictures") == 0) return writeDialogPictures(argv[2]);
    return usage();
}
