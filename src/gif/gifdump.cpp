// gifdump FILE OUT: decodes FILE with Quorl's GIF decoder and writes the
// picture to OUT as raw blue-green-red bytes, top row first, so the decoder
// can be checked against other decoders.
#include "gif/GifDecoder.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gifdump FILE OUT\n");
        return 2;
    }
    int width = 0;
    int height = 0;
    std::string message;
    std::unique_ptr<BYTE[]> picture = GIFRead(argv[1], width, height, message);
    if (!picture) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    // On success the only message can be the aspect warning.
    if (!message.empty())
        std::fprintf(stderr, "%s\n", message.c_str());

    const std::size_t size = std::size_t(width) * height * 3;
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(argv[2], "wb"));
    if (!out || std::fwrite(picture.get(), 1, size, out.get()) != size || std::fclose(out.release()) != 0) {
        std::fprintf(stderr, "Cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%d %d\n", width, height);
    return 0;
}
