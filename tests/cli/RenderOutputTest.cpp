// orvanta-cli render's pictures: re-scaled, at a colour depth, as movie frames and as a video.
#include "support/CliRunner.h"
#include "support/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

CliResult render(const TempFolder& folder, const std::string& arguments) {
    return runOrvantaCli(folder, "render " + problemPath("figure8.ode") +
                                     " --steps 100 --size 300x300 " + arguments);
}

std::vector<std::string> pngsIn(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.folder()))
        if (entry.path().extension() == ".png" || entry.path().extension() == ".bmp")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(RenderOutput, ScaleAndDepthMakeALargerPalettePicture) {
    TempFolder folder;
    CliResult plain = render(folder, "--out " + folder.path("a.png"));
    ASSERT_EQ(plain.status, 0) << plain.err;
    CliResult big = render(folder, "--scale 4 --depth 8 --out " + folder.path("b.png"));
    ASSERT_EQ(big.status, 0) << big.err;
    const std::string a = readBytes(folder.path("a.png")), b = readBytes(folder.path("b.png"));
    EXPECT_NEAR(bigEndian(b, 16), 4 * bigEndian(a, 16), 4);
    EXPECT_NEAR(bigEndian(b, 20), 4 * bigEndian(a, 20), 4);
    EXPECT_EQ(static_cast<unsigned char>(b[24]), 8);
    EXPECT_EQ(static_cast<unsigned char>(b[25]), 3); // a palette
    EXPECT_EQ(static_cast<unsigned char>(a[25]), 2); // RGB
    EXPECT_NE(big.err.find("8 bits per pixel: " + folder.path("b.png")), std::string::npos);

    CliResult bmp = render(folder, "--depth 4 --out " + folder.path("c.bmp"));
    ASSERT_EQ(bmp.status, 0) << bmp.err;
    const std::string c = readBytes(folder.path("c.bmp"));
    ASSERT_GT(c.size(), 54u);
    EXPECT_EQ(c.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(c[28]), 4);
}

TEST(RenderOutput, FramesAreNamedAsTheWindowNamesThem) {
    TempFolder folder;
    CliResult r = render(folder, "--frames 3 --out " + folder.path("run.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pngsIn(folder),
              (std::vector<std::string>{"run000000.png", "run000001.png", "run000002.png"}));
    EXPECT_NE(r.err.find("3 frames of"), std::string::npos);
}

TEST(RenderOutput, VideoWithoutFfmpegKeepsTheFramesAndSaysSo) {
    const std::string arguments =
        "render " + problemPath("figure8.ode") + " --steps 20 --size 100x100 --frames 2 --out ";
    TempFolder folder;
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    setenv("PATH", "/nonexistent", 1); // no ffmpeg to be found
    const CliResult r = runOrvantaCli(folder, arguments + folder.path("v.png") + " --video " +
                                                  folder.path("v.mp4"));
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ffmpeg is not installed, so no video was made"), std::string::npos)
        << r.err;
    EXPECT_EQ(pngsIn(folder).size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(folder.path("v.mp4")));
}

TEST(RenderOutput, VideoFromTheFramesWhenFfmpegIsThere) {
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    TempFolder folder;
    const CliResult r =
        runOrvantaCli(folder, "render " + problemPath("figure8.ode") +
                                  " --steps 20 --size 101x100 --frames 4 --out " +
                                  folder.path("v.png") + " --video " + folder.path("v.webm"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GT(std::filesystem::file_size(folder.path("v.webm")), 100u);
}

TEST(RenderOutput, RefusesBadPictureOptions) {
    TempFolder folder;
    const std::string out = " --out " + folder.path("x.png");
    for (const auto& [arguments, message] : std::vector<std::pair<std::string, std::string>>{
             {"--depth 16", "--depth is 24, 8, 4 or 1"},
             {"--scale 50", "--scale is a number from 0.1 to 30"},
             {"--scale x", "--scale is a number from 0.1 to 30"},
             {"--frames 0", "--frames is a whole number from 1 to 100000"},
             {"--video " + folder.path("x.mp4"), "--video needs --frames"},
             {"--frames 2 --video " + folder.path("x.avi"), "--video writes FILE.mp4 or FILE.webm"},
             {"--frames 2 --scale 2", "--frames draws at the window's size"}}) {
        const CliResult r = render(folder, arguments + out);
        EXPECT_NE(r.status, 0) << arguments;
        EXPECT_NE(r.err.find(message), std::string::npos) << arguments << ": " << r.err;
    }
    EXPECT_TRUE(pngsIn(folder).empty());
}
