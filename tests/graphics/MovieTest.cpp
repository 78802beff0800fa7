// Movie frames: the frame arithmetic, the file names and a recorded replay.
#include "GraphFixture.h"

#include "graphics/MovieRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

ProblemPanes circle() {
    return {{}, {"x = 1", "y = 0", "t = 0"}, {}, {"x' = -y", "y' = x", "t' = 1"}};
}

std::vector<std::string> filesIn(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.folder()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(MovieFrames, BoundariesCrossedGiveTheFramesDue) {
    EXPECT_EQ(framesDue(0.9L, 0.8L, 1), 0);
    EXPECT_EQ(framesDue(1.0L, 0.9L, 1), 1);
    EXPECT_EQ(framesDue(3.5L, 0.9L, 1), 3);   // one sub-step over three boundaries: repeats
    EXPECT_EQ(framesDue(-2.1L, -0.9L, 1), 2); // backward runs count the played distance
    EXPECT_EQ(framesDue(5, 0, 0), 0);         // not recording
    EXPECT_EQ(frameFileName("/tmp/m/run", 0, PngFilter), "/tmp/m/run000000.png");
    EXPECT_EQ(frameFileName("c:\\", 1234567, BitmapFilter), "c:\\1234567.bmp");
}

TEST(MovieFrames, ThreeFramesOfARunAreThreeNumberedFiles) {
    GraphFixture f(circle());
    f.integrate("20");
    f.adjusted(200, 200);
    f.model->PlayDuration = 1;
    TempFolder folder;
    f.ui.fileAnswers.push_back(folder.path("run.png"));
    f.ui.filterAnswers.push_back(PngFilter);
    MovieRecorder recorder;
    bool hidden = false;
    ASSERT_TRUE(recorder.record(*f.model, f.ui, "3", 8, [&] { hidden = true; }));
    EXPECT_TRUE(hidden);
    EXPECT_EQ(filesIn(folder),
              (std::vector<std::string>{"run000000.png", "run000001.png", "run000002.png"}));
    EXPECT_EQ(recorder.Counter, 3);
    EXPECT_EQ(recorder.Prefix, folder.path("run"));
    EXPECT_EQ(recorder.Interval, 0);
    EXPECT_FALSE(f.model->AfterSubStep);
    // Each frame shows the curve as far as it had come: the first least, the last all of it.
    const QImage first(QString::fromStdString(folder.path("run000000.png")));
    const QImage last(QString::fromStdString(folder.path("run000002.png")));
    ASSERT_EQ(first.size(), f.model->Image.size());
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_LT(countColour(first.convertToFormat(QImage::Format_RGB32), black),
              countColour(last.convertToFormat(QImage::Format_RGB32), black));
}

TEST(MovieFrames, BitmapFilterAndManyFramesRepeatOverLongSubSteps) {
    GraphFixture f(circle());
    f.integrate("5");
    f.adjusted(100, 100);
    TempFolder folder;
    f.ui.fileAnswers.push_back(folder.path("m.png"));
    f.ui.filterAnswers.push_back(BitmapFilter);
    MovieRecorder recorder;
    ASSERT_TRUE(recorder.record(*f.model, f.ui, " 500 ", 4));
    const auto files = filesIn(folder);
    EXPECT_EQ(files.size(), 500u);
    EXPECT_EQ(files.front(), "m000000.bmp");
}

TEST(MovieFrames, RefusalsWriteNothing) {
    GraphFixture f(circle());
    ASSERT_TRUE(f.model->layout()); // nothing integrated: the span is zero
    TempFolder folder;
    MovieRecorder recorder;
    EXPECT_FALSE(recorder.record(*f.model, f.ui, "x", 8));
    EXPECT_FALSE(recorder.record(*f.model, f.ui, "0", 8));
    EXPECT_EQ(f.ui.messages,
              (std::vector<std::string>{"Wrong number of frames", "Wrong number of frames"}));
    f.ui.fileAnswers.push_back(folder.path("z.png"));
    EXPECT_FALSE(recorder.record(*f.model, f.ui, "10", 8));
    EXPECT_EQ(f.ui.lastMessage(), "Zero span, no integration steps");
    EXPECT_EQ(recorder.Prefix, folder.path("z"));
    f.integrate("5");
    EXPECT_FALSE(recorder.record(*f.model, f.ui, "10", 8)); // the dialog cancelled
    EXPECT_TRUE(filesIn(folder).empty());
}

TEST(MovieFrames, AFailedWriteEndsTheRecordingAndTheReplayGoesOn) {
    GraphFixture f(circle());
    f.integrate("10");
    f.adjusted(100, 100);
    TempFolder folder;
    f.ui.fileAnswers.push_back(folder.path("gone/run.png"));
    MovieRecorder recorder;
    EXPECT_TRUE(recorder.record(*f.model, f.ui, "10", 24));
    EXPECT_EQ(recorder.Counter, 0);
    EXPECT_TRUE(recorder.Written.empty());
    EXPECT_GT(countColour(f.model->Image, qRgb(0, 0, 0)), 100); // the curve was drawn
}
