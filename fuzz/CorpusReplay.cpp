// Feeds every file of the folders named on the command line to the fuzz
// entry point once, so that the test build checks the corpus under its own
// sanitizers without libFuzzer.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
        if (error) {
            std::fprintf(stderr, "cannot list %s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "no corpus files found\n");
        return 1;
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        if (!in.eof() && in.fail()) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("replayed %zu files\n", files.size());
    return 0;
}
