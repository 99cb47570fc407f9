#include "common/Sha256.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zentrova {
namespace {

std::string hexOf(std::string_view text) {
    Sha256 hash;
    hash.update(text);
    return Sha256::hex(hash.finish());
}

TEST(Sha256Test, KnownVectors) {
    struct Case {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 20));
        EXPECT_EQ(hexOf(c.input), c.digest);
    }
}

TEST(Sha256Test, PiecesOfAnySizeGiveTheSameDigest) {
    std::string input;
    for (int i = 0; i < 300; ++i) input.push_back(static_cast<char>(i * 7 + 3));
    const std::string whole = hexOf(input);
    for (std::size_t first = 0; first <= input.size(); first += 13) {
        for (std::size_t second : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65}}) {
            Sha256 hash;
            std::size_t at = 0;
            hash.update(std::string_view(input).substr(0, first));
            for (at = first; at < input.size(); at += second) hash.update(std::string_view(input).substr(at, second));
            EXPECT_EQ(Sha256::hex(hash.finish()), whole) << first << " then " << second;
        }
    }
    Sha256 reused;
    reused.update("something else");
    (void)reused.finish();
    reused.update(input);
    EXPECT_EQ(Sha256::hex(reused.finish()), whole) << "finish starts afresh";
}

TEST(Sha256Test, AgreesWithSha256sumAroundBlockEnds) {
    if (std::system("command -v sha256sum >/dev/null 2>&1") != 0) GTEST_SKIP() << "sha256sum is not installed";
    test::TempDir dir;
    std::uint32_t state = 12345;
    for (std::size_t length : {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 128, 1000, (1 << 20) + 3}) {
        SCOPED_TRACE(length);
        std::string bytes(length, '\0');
        for (char& byte : bytes) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<char>(state >> 24);
        }
        const auto file = dir.touch("data", bytes);
        const std::string out = (dir.path() / "sum").string();
        ASSERT_EQ(std::system(("sha256sum '" + file.string() + "' > '" + out + "'").c_str()), 0);
        std::ifstream in(out);
        std::string theirs;
        in >> theirs;
        EXPECT_EQ(hexOf(bytes), theirs);
    }
}

}  // namespace
}  // namespace zentrova
