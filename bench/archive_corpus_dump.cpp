// Writes the benchmark corpus mix at a given size to a file, for the command-line
// comparison against gzip and bzip2: archive_corpus_dump OUT [BYTES] (default 8 MiB).
#include <cstdio>
#include <cstdlib>

#include "archive_corpus.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: archive_corpus_dump OUT [BYTES]\n", stderr);
        return 2;
    }
    std::size_t total = 8u << 20;
    if (argc == 3) {
        char* end = nullptr;
        unsigned long long n = std::strtoull(argv[2], &end, 10);
        if (*end != 0 || n < (64u << 10) || n > (1ull << 32)) {
            std::fputs("archive_corpus_dump: BYTES must be 65536 to 4294967296\n", stderr);
            return 2;
        }
        total = static_cast<std::size_t>(n);
    }
    std::vector<std::uint8_t> bytes = bench_corpus::corpusOfSize(total);
    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "archive_corpus_dump: cannot write %s\n", argv[1]);
    return ok ? 0 : 1;
}
