#include "tools/snapburn/StillCommand.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TempDir.h"

namespace {

struct Outcome {
    int status;
    std::string err;
};

Outcome Still(std::vector<std::string> args)
{
    TempDir dir;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    std::FILE* err = std::fopen(dir.File("err").c_str(), "wb");
    int status = RunStillCommand(static_cast<int>(argv.size()), argv.data(), err);
    std::fclose(err);
    return {status, TempDir::Read(dir.File("err"))};
}

std::string Corpus(const std::string& name)
{
    return std::string(SNAPDISC_CORPUS_DIR) + "/" + name;
}

}  // namespace

TEST(SnapburnStill, ExitStatusAndOutput)
{
    TempDir dir;
    std::string out = dir.File("item.mpg");
    Outcome ok = Still({Corpus("photos/kpa_blackie.jpg"), out, "--normal-only", "--ntsc"});
    EXPECT_EQ(0, ok.status) << ok.err;
    std::string packs = TempDir::Read(out);
    ASSERT_FALSE(packs.empty());
    EXPECT_EQ(0u, packs.size() % 2324);
    EXPECT_EQ(std::string("\x00\x00\x01\xba", 4), packs.substr(0, 4));
    EXPECT_EQ(std::string("\x00\x00\x01\xb9", 4), packs.substr(packs.size() - 4));

    Outcome refused = Still({Corpus("invalid/gen_text_renamed.jpg"), dir.File("bad.mpg")});
    EXPECT_EQ(1, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find("gen_text_renamed.jpg")) << refused.err;
    EXPECT_TRUE(TempDir::Read(dir.File("bad.mpg")).empty());

    EXPECT_EQ(2, Still({Corpus("photos/kpa_blackie.jpg")}).status);
    EXPECT_EQ(2, Still({Corpus("photos/kpa_blackie.jpg"), out, "--pal-ish"}).status);
    EXPECT_EQ(2, Still({"a.jpg", "b.mpg", "c.mpg"}).status);
}
