#include "ObjFileCheck.h"

#include <TestFiles.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using TestFiles::readFile;

const std::string triangle =
    "# a triangle\n"
    "mtllib t.mtl\n"
    "g grp1\n"
    "v 0 0 0\nv 1 0 0\nv 0 1.5e0 -2\n"
    "vt 0 0\nvt 1 0\nvt 0 1\n"
    "vn 0 0 1\n"
    "usemtl mat0\n"
    "s off\n";

} // namespace

TEST(ObjFileCheck, AcceptsTheBakedMeshesAndTheirCommonForms)
{
    for (const char* path : {"../res/guns.obj", "../res/SU35S.obj"}) {
        const std::string text = readFile(path);
        ASSERT_GT(text.size(), 1000u) << path;
        EXPECT_TRUE(ObjFileCheck::isWellFormed(text)) << path;
        EXPECT_TRUE(ObjFileCheck::fileIsWellFormed(path)) << path;
    }
    for (const char* face : {"f 1 2 3\n", "f 1/1 2/2 3/3\n", "f 1//1 2//1 3//1\n", "f 1/1/1 2/2/1 3/3/1\n",
                             "f -3/-3/-1 -2/-2/-1 -1/-1/-1\n", "f 1 2 3 1 2\n"})
        EXPECT_TRUE(ObjFileCheck::isWellFormed(triangle + face)) << face;
    EXPECT_TRUE(ObjFileCheck::isWellFormed("v 1 2 3\r\n\r\n  \t\nf 1 1 1\r\n"));
    EXPECT_TRUE(ObjFileCheck::isWellFormed(""));
}

TEST(ObjFileCheck, RejectsFacesThatNameWhatWasNotRead)
{
    for (const char* face : {"f 1 2 4\n", "f 0 1 2\n", "f -4 1 2\n", "f 1/4 2/2 3/3\n", "f 1//2 2//1 3//1\n",
                             "f 1/1/1 2/2/1 3/3/\n", "f 1 2\n", "f 1/1/1/1 2 3\n", "f 1 2 x\n",
                             "f 1 2 99999999999\n", "f 1 2 3.0\n"})
        EXPECT_FALSE(ObjFileCheck::isWellFormed(triangle + face)) << face;
    // A face before the vertices it names, though they come later.
    EXPECT_FALSE(ObjFileCheck::isWellFormed("f 1 2 3\n" + triangle));
}

TEST(ObjFileCheck, RejectsMalformedStatementsAndBytes)
{
    for (const char* line : {"v 1 2\n", "v 1 2 x\n", "v 1 2 nan\n", "v 1 2 1e999\n", "vn 0 1\n", "vt\n",
                             "s\n", "s on\n", "curv 0 1\n", "vertex 1 2 3\n"})
        EXPECT_FALSE(ObjFileCheck::isWellFormed(triangle + line)) << line;
    EXPECT_FALSE(ObjFileCheck::isWellFormed(triangle + std::string("g a\0b\n", 6)));
    EXPECT_FALSE(ObjFileCheck::isWellFormed(triangle + "g \x1b[2J\n"));
    EXPECT_FALSE(ObjFileCheck::fileIsWellFormed("../res/no such mesh.obj"));
}

TEST(ObjFileCheck, RejectsRandomBytesWhateverTheirStartValue)
{
    const std::string baked = readFile("../res/guns.obj");
    for (unsigned start = 1; start <= 20; ++start) {
        std::mt19937 random(start);
        std::string bytes(baked.size(), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() & 0xFF);
        EXPECT_FALSE(ObjFileCheck::isWellFormed(bytes)) << "start value " << start;
    }
}

TEST(ObjFileCheck, AcceptsTheBakedMeshCutAtAnyLineEnd)
{
    // A file that ends early at a line end is short of faces, not damaged.
    const std::string baked = readFile("../res/SU35S.obj");
    std::size_t cuts = 0;
    for (std::size_t end = baked.find('\n'); end != std::string::npos; end = baked.find('\n', end + 1)) {
        if (++cuts % 97 != 0)
            continue;
        ASSERT_TRUE(ObjFileCheck::isWellFormed(baked.substr(0, end + 1))) << "cut after byte " << end;
    }
    EXPECT_GT(cuts, 1000u);
}
