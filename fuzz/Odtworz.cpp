// Replays a harness's corpus without libFuzzer: every file of the folders named on the command
// line goes once through LLVMFuzzerTestOneInput. CTest runs this in every build, so an input
// that once broke a parser keeps being tried.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar);

int main(int argc, char** argv) {
    int pliki = 0;
    for (int i = 1; i < argc; ++i)
        for (const auto& wpis : std::filesystem::directory_iterator(argv[i])) {
            if (!wpis.is_regular_file())
                continue;
            std::ifstream f(wpis.path(), std::ios::binary);
            const std::vector<char> bajty{std::istreambuf_iterator<char>(f), {}};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bajty.data()),
                                   bajty.size());
            ++pliki;
        }
    std::printf("%d passed, 0 failed\n", pliki);
    return pliki > 0 ? 0 : 1;
}
