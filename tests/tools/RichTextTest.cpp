// The RTF reader and writer: our subset read exactly, and our own files read back unchanged.
#include "tools/RichText.h"
#include "common/TextFile.h"
#include "support/Paths.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(RichText, ReadsTheSubsetOurFilesUse) {
    const auto text = parseRichText(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}\r\n"
        "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Someone;}"
        "\\fs20 Plain {\\b bold {\\i both}} \\i italic\\i0  back\\par\r\n"
        "\\f1\\fs28 x\\tab y \\{z\\} a\\\\b\\line caf\\'e9 \\u8364? \\uc2\\u937 xy!\\par\r\n"
        "\\plain after plain}");
    ASSERT_TRUE(text);
    ASSERT_EQ(4u, text->size()); // \line starts a paragraph too
    const auto& first = (*text)[0].Runs;
    ASSERT_EQ(6u, first.size());
    EXPECT_EQ((RichRun{"Plain ", false, false, 20, "Arial"}), first[0]);
    EXPECT_EQ((RichRun{"bold ", true, false, 20, "Arial"}), first[1]);
    EXPECT_EQ((RichRun{"both", true, true, 20, "Arial"}), first[2]);
    EXPECT_EQ((RichRun{" ", false, false, 20, "Arial"}), first[3]);
    EXPECT_EQ((RichRun{"italic", false, true, 20, "Arial"}), first[4]);
    EXPECT_EQ((RichRun{" back", false, false, 20, "Arial"}), first[5]);
    EXPECT_EQ("x\ty {z} a\\b", (*text)[1].plainText());
    EXPECT_EQ("Courier New", (*text)[1].Runs[0].Font);
    EXPECT_EQ(28, (*text)[1].Runs[0].HalfPoints);
    // \'e9 is Windows-1252, \u8364 the euro sign with its "?" skipped, \uc2 skips two.
    EXPECT_EQ("caf\xC3\xA9 \xE2\x82\xAC \xCE\xA9!", (*text)[2].plainText());
    EXPECT_EQ((RichRun{"after plain", false, false, 24, "Arial"}), (*text)[3].Runs.back());
}

TEST(RichText, RefusesWhatIsNotRichTextOrDoesNotClose) {
    EXPECT_FALSE(parseRichText("plain words"));
    EXPECT_FALSE(parseRichText("{\\rtf1 open {\\b group}"));
    EXPECT_FALSE(parseRichText(""));
    EXPECT_FALSE(parseRichText("{\\rtf1 " + std::string(300, '{') + std::string(300, '}') + "}"));
    ASSERT_TRUE(parseRichText("{\\rtf1}"));
    EXPECT_TRUE(parseRichText("{\\rtf1}")->empty());
}

TEST(RichText, WrittenTextReadsBackTheSame) {
    RichText text = {{{{"Heading", true, false, 32, "Arial"}}},
                     {},
                     {{{"a {brace} and \\ slash\tand tab, ", false, false, 20, "Arial"},
                       {"code", false, true, 20, "Courier New"},
                       {" M\xC3\xB6"
                        "bius \xE2\x82\xAC \xCE\xA9",
                        true, true, 20, "Arial"}}}};
    const std::string rtf = writeRichText(text);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
    EXPECT_EQ(std::string::npos, rtf.find('\xC3')); // 7-bit RTF: the rest is \u
    EXPECT_EQ(text, parseRichText(rtf));
    EXPECT_EQ(plainRichText({"one", "", "three"}),
              parseRichText(writeRichText(plainRichText({"one", "", "three"}))));
}

TEST(RichText, OurHelpFilesAndScriptListsReadAndRoundTrip) {
    int files = 0;
    for (const char* folder : {"Help", "Samples"})
        for (const auto& entry : std::filesystem::directory_iterator(sourcePath(folder))) {
            if (entry.path().extension() != ".rtf")
                continue;
            SCOPED_TRACE(entry.path().string());
            ++files;
            const auto text = parseRichText(*readWholeFile(entry.path().string()));
            ASSERT_TRUE(text);
            EXPECT_GE(text->size(), 3u);
            EXPECT_FALSE(text->front().plainText().empty());
            EXPECT_EQ(text, parseRichText(writeRichText(*text)));
            // Nothing of the markup leaks into the text.
            for (const RichParagraph& paragraph : *text)
                for (const char* markup : {"\\par", "\\fs", "\\b "})
                    EXPECT_EQ(std::string::npos, paragraph.plainText().find(markup));
        }
    EXPECT_GE(files, 20);
}
