// orvanta-cli render: a PNG of the graph, and its refusals.
#include "support/Paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Rendered {
    int status = -1;
    std::string png, err;
};

std::string contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

Rendered render(const std::string& arguments) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string stem = "orvanta_render_" + std::to_string(getpid());
    const auto png = dir / (stem + ".png");
    const auto err = dir / (stem + ".err");
    std::filesystem::remove(png);
    const std::string command = "env -u DISPLAY " + cliPath() + " render " +
                                problemPath("figure8.ode") + " --out " + png.string() + " " +
                                arguments + " 2>" + err.string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, contents(png), contents(err)};
}

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

TEST(RenderCommand, WritesThePictureInTheAreaWithTheWorldsProportions) {
    const Rendered r = render("--steps 50 --size 300x300 --box -1.5,1.5,-0.75,0.75");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_GT(r.png.size(), 33u);
    EXPECT_EQ(r.png.substr(1, 3), "PNG");
    EXPECT_EQ(bigEndian(r.png, 16), 300u); // 3 wide, 1.5 high: 300 x 150
    EXPECT_EQ(bigEndian(r.png, 20), 150u);
    EXPECT_NE(r.err.find("3 curves"), std::string::npos);
}

TEST(RenderCommand, RefusesBadBoxesCurvesAndSizes) {
    Rendered r = render("--steps 5 --box a,1,0,1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("\" a \" is not a valid value"), std::string::npos);
    EXPECT_NE(r.err.find("Wrong bounderies"), std::string::npos);
    EXPECT_TRUE(r.png.empty());
    r = render("--steps 5 --curves \"x1,q\"");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("No variable \"q\""), std::string::npos);
    r = render("--size 0x10");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--size"), std::string::npos);
}
