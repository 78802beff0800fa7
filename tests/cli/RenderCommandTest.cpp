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

Rendered render(const std::string& arguments,
                const std::string& file = problemPath("figure8.ode")) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string stem = "orvanta_render_" + std::to_string(getpid());
    const auto png = dir / (stem + ".png");
    const auto err = dir / (stem + ".err");
    std::filesystem::remove(png);
    const std::string command = "env -u DISPLAY " + cliPath() + " render " + file + " --out " +
                                png.string() + " " + arguments + " 2>" + err.string();
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

TEST(RenderCommand, AScriptIsDrawnWithItsCurvesColoursBoxAndSteps) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("orvanta_render_script_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(problemPath("figure8.ode"), dir / "figure8.ode",
                               std::filesystem::copy_options::overwrite_existing);
    // One curve, body 2 in green, over a box 4 wide and 2 high, 40 steps.
    const std::string script = "OrvantaScript:2003/08/24\r\nfigure8.ode\r\n0.5 31\r\n2 0 1 1\r\n"
                               "2\r\n1\r\n3 4 0\r\n{x2, y2}\r\n100 13\r\n40\r\n-2\r\n2\r\n"
                               "-1\r\n1\r\n0\r\n0\r\n5\r\n32768\r\n";
    std::ofstream(dir / "fig.scr", std::ios::binary) << script;

    Rendered r = render("--size 400x400", (dir / "fig.scr").string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(bigEndian(r.png, 16), 400u); // the script's box: 4 by 2
    EXPECT_EQ(bigEndian(r.png, 20), 200u);
    EXPECT_NE(r.err.find("1 curves, 41 points stored"), std::string::npos) << r.err;

    // A curve over a variable the problem does not have refuses the picture.
    std::string bad = script;
    bad.replace(bad.find("3 4 0"), 5, "3 40 0");
    std::ofstream(dir / "bad.scr", std::ios::binary) << bad;
    r = render("", (dir / "bad.scr").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The script's curve {x2, y2} uses a variable the problem does not have"),
              std::string::npos)
        << r.err;
    std::filesystem::remove_all(dir);
}

TEST(RenderCommand, ThreeDPicturesFrameTheTurnedBox) {
    const std::string lorenz = problemPath("lorenz.ode");
    // A box 40 wide and 50 high stands upright; turned by 90 degrees about Z it lies on its side.
    const std::string box = "--steps 50 --box -20,20,-25,25,0,50 --size 400x400 ";
    Rendered upright = render(box + "--curves x,y,z --3d right", lorenz);
    ASSERT_EQ(upright.status, 0) << upright.err;
    EXPECT_LT(bigEndian(upright.png, 16), bigEndian(upright.png, 20));
    Rendered turned = render(box + "--curves x,y,z --3d right --turn 0,0,90", lorenz);
    ASSERT_EQ(turned.status, 0) << turned.err;
    EXPECT_GT(bigEndian(turned.png, 16), bigEndian(turned.png, 20));
    // Without --curves the generator takes {x, y, z}; tubes in stereo.
    Rendered stereo = render("--steps 50 --3d stereo --tube", lorenz);
    ASSERT_EQ(stereo.status, 0) << stereo.err;
    EXPECT_NE(stereo.err.find("1 curves"), std::string::npos);
}

TEST(RenderCommand, RefusesBadThreeDOptions) {
    const std::string lorenz = problemPath("lorenz.ode");
    Rendered r = render("--steps 5 --curves x,y,z --turn 1,2", lorenz);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--turn takes three angles in degrees"), std::string::npos);
    r = render("--steps 5 --curves x,y,z --3d up", lorenz);
    EXPECT_NE(r.err.find("--3d is stereo, left or right"), std::string::npos);
    r = render("--steps 5 --curves x,y --tube", lorenz);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("need curves of three variables"), std::string::npos);
    EXPECT_TRUE(r.png.empty());
}

TEST(RenderCommand, APortraitDrawsAStrokeThroughEveryNode) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("orvanta_render_portrait_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto ode = dir / "pendulum.ode";
    std::ofstream(ode) << "[Main variables]\nx = 1\ny = 0\n\n[ODEs]\nx' = y\ny' = -sin(x)\n";

    Rendered r = render("--radians --steps 10 --curves x,y --box -4,4,-3,3 --size 400x300 "
                        "--portrait --nodes 5,3 --limit 6 --linear",
                        ode.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("15 strokes in "), std::string::npos) << r.err;
    EXPECT_EQ(bigEndian(r.png, 16), 400u);

    r = render("--radians --steps 10 --box -4,4,-3,3 --portrait --nodes 5,x", ode.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Wrong field parameters values"), std::string::npos) << r.err;
    EXPECT_TRUE(r.png.empty());
    r = render("--radians --steps 10 --limit 5", ode.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("need --portrait"), std::string::npos) << r.err;
    std::filesystem::remove_all(dir);
}
