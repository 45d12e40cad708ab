// Runs a fuzz target without libFuzzer, for the test build: every file of
// the seed folders given, then variations of them made by a fixed sequence
// of byte edits, so that the target's own checks run on more than its
// seeds. A check that fails aborts, and the test with it.
//   replay [--variations N] FOLDER...

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

using Input = std::vector<std::uint8_t>;

// splitmix64: the same variations on every run.
class Sequence
{
public:
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }

private:
    std::uint64_t m_state = 20260303;
};

// Bytes that change how text inputs read: ends of lines, signs, digits,
// exponents, separators, quotes, escapes and bytes that are not UTF-8.
constexpr char tellingBytes[] = "\n\r\t \0.,;=+-09eEdD&H{}\\\"[]%\x1b\x7f\x80\xc3\xff";
constexpr std::string_view telling(tellingBytes, sizeof tellingBytes - 1);

Input vary(const Input &seed, Sequence &random)
{
    Input input = seed;
    const std::size_t edits = 1 + random.below(8);
    for (std::size_t e = 0; e < edits; ++e) {
        const std::size_t at = random.below(input.size() + 1);
        switch (random.below(5)) {
        case 0:
            if (at < input.size())
                input[at] = static_cast<std::uint8_t>(random.next());
            break;
        case 1:
            input.insert(input.begin() + static_cast<std::ptrdiff_t>(at),
                         static_cast<std::uint8_t>(telling[random.below(telling.size())]));
            break;
        case 2:
            if (at < input.size())
                input.erase(input.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 3: {  // repeats a piece, to make inputs longer
            if (input.size() > 1 << 16)
                break;
            const std::size_t length = random.below(input.size() - std::min(at, input.size()) + 1);
            const Input piece(input.begin() + static_cast<std::ptrdiff_t>(at), input.begin() + static_cast<std::ptrdiff_t>(at + length));
            for (std::size_t times = random.below(16); times > 0; --times)
                input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(), piece.end());
            break;
        }
        default:
            if (at < input.size())
                input.resize(at);
            break;
        }
    }
    return input;
}

}

int main(int argc, char *argv[])
{
    std::size_t variations = 2000;
    std::vector<Input> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--variations" && i + 1 < argc) {
            variations = std::strtoul(argv[++i], nullptr, 10);
            continue;
        }
        for (const auto &entry : std::filesystem::directory_iterator(argv[i])) {
            std::ifstream file(entry.path(), std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "usage: replay [--variations N] FOLDER...  (no seed found)\n");
        return 2;
    }
    for (const Input &seed : seeds)
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
    Sequence random;
    for (std::size_t i = 0; i < variations; ++i) {
        const Input input = vary(seeds[random.below(seeds.size())], random);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%zu seeds and %zu variations passed\n", seeds.size(), variations);
    return 0;
}
