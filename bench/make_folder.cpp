// Writes a folder of tagged Windows-1252 text files as capture and saving produce them:
// sections of the known tags and a user-defined one, CR LF lines, umlauts, the euro sign,
// and characters the XML export escapes. Sizes vary around the mean, files are numbered.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: quillet-make-folder FOLDER [FILES [TOTAL_MB]]\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const long files = argc > 2 ? std::atol(argv[2]) : 10000;
    const long totalMb = argc > 3 ? std::atol(argv[3]) : 200;
    const long mean = totalMb * 1000 * 1000 / (files > 0 ? files : 1);
    const char* words[] = {"Korpus",
                           "der",
                           "Text",
                           "und",
                           "f\xFCr",
                           "Stra\xDF"
                           "e",
                           "\x80",
                           "Zeile-",
                           "Satz.",
                           "M\xFCller",
                           "&",
                           "<b>",
                           "-",
                           "ein",
                           "Wort",
                           "Absatz",
                           "\x96",
                           "Seite"};
    const char* heads[] = {"MEDIUM", "TITEL", "AUTOR", "E_DATUM", "A_DATUM", "THEMA", "8"};
    std::mt19937 rng(2026);
    std::string text;
    const auto line = [&] {
        for (int w = 0; w < 10; ++w) {
            text += words[rng() % (sizeof words / sizeof *words)];
            text += ' ';
        }
    };
    for (long f = 0; f < files; ++f) {
        text.clear();
        for (const char* tag : heads) {
            text += std::string("{") + tag + "}";
            line();
            text += std::string("{/") + tag + "}\r\n\r\n";
        }
        const long size = mean / 2 + static_cast<long>(rng() % static_cast<unsigned long>(mean));
        text += "{TEXT}";
        for (int l = 0; static_cast<long>(text.size()) < size - 40; ++l) {
            line();
            text += l % 7 == 6 ? "\r\n\r\n" : "\r\n";
        }
        text += "{/TEXT}\r\n\r\n{QUELLE}http://example.org/?a=1&b=2{/QUELLE}\r\n\r\n";
        char name[64];
        std::snprintf(name, sizeof name, "/MEDIENNAME_QUELLE_%ld.txt", f);
        std::FILE* out = std::fopen((folder + name).c_str(), "wb");
        if (out == nullptr || std::fwrite(text.data(), 1, text.size(), out) != text.size() ||
            std::fclose(out) != 0) {
            std::fprintf(stderr, "quillet-make-folder: cannot write %s%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
