// tagmp3 INPUT OUTPUT MULTIPLE: copies an MP3 file behind an ID3v2 tag of
// padding sized so that the output's length is a multiple of MULTIPLE, as
// the decoding tests need a clip that ends exactly at a block's end.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tagmp3 INPUT OUTPUT MULTIPLE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tagmp3: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<char> clip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    unsigned long multiple = std::strtoul(argv[3], nullptr, 10);
    if (clip.empty() || multiple == 0 || multiple > 0x0FFFFFFF) {
        std::fprintf(stderr, "tagmp3: nothing to tag in %s\n", argv[1]);
        return 1;
    }
    // Header "ID3", version 2.3, no flags, then the size of what follows as
    // four 7-bit digits; the tag holds nothing but zero padding.
    unsigned long padding = (multiple - (clip.size() + 10) % multiple) % multiple;
    std::vector<char> out = {'I', 'D', '3', 3, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7) {
        out.push_back(static_cast<char>((padding >> shift) & 0x7F));
    }
    out.insert(out.end(), padding, '\0');
    out.insert(out.end(), clip.begin(), clip.end());
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "tagmp3: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
