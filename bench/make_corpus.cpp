// Writes a tagged Windows-1252 corpus to standard output: many documents as capture
// builds them, CR LF lines, umlauts and the euro sign. Arguments: the size in megabytes
// (default 100) and the number of lines of each body text (default 40; fewer lines give
// more brace spans per megabyte).
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char** argv) {
    const long megabytes = argc > 1 ? std::atol(argv[1]) : 100;
    const long target = megabytes * 1000 * 1000;
    const int bodyLines = argc > 2 ? std::atoi(argv[2]) : 40;
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
    const char* tags[] = {"MEDIUM", "TITEL", "AUTOR", "E_DATUM", "TEXT", "QUELLE", "8"};
    std::mt19937 rng(2026);
    std::string out;
    long written = 0;
    while (written < target) {
        out.clear();
        for (const char* tag : tags) {
            out += '{';
            out += tag;
            out += '}';
            const int lines = tag[0] == 'T' && tag[1] == 'E' ? bodyLines : 1;
            for (int l = 0; l < lines; ++l) {
                for (int w = 0; w < 10; ++w) {
                    out += words[rng() % (sizeof words / sizeof *words)];
                    out += ' ';
                }
                out += l % 7 == 6 ? "\r\n\r\n" : "\r\n";
            }
            out += "{/";
            out += tag;
            out += "}\r\n\r\n";
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        written += static_cast<long>(out.size());
    }
    return 0;
}
