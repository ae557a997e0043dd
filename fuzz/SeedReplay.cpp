// Runs a fuzz target's entry function over each seed file of the directories it is given, so
// that the seeds are regression tests of the ordinary build. A failed check of the target
// aborts, which fails the run; a directory without seeds fails too.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Defined by the targets that set something up once.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) {
        LLVMFuzzerInitialize(&argc, &argv);
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SEED_DIRECTORY...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> seeds;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
            if (entry.is_regular_file()) {
                seeds.push_back(entry.path());
            }
        }
        if (error || seeds.empty()) {
            std::fprintf(stderr, "%s: no seed files\n", argv[i]);
            return 1;
        }
        std::sort(seeds.begin(), seeds.end());
        for (const std::filesystem::path& seed : seeds) {
            std::ifstream file(seed, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
            if (!file.eof() && file.fail()) {
                std::fprintf(stderr, "%s: cannot be read\n", seed.c_str());
                return 1;
            }
            std::printf("%s\n", seed.c_str());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("%d seeds replayed, every check held\n", replayed);
    return 0;
}
