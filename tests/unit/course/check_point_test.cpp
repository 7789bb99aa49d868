// CheckPoint: defaults, reading one record and the editor's placement operations.
#include "course/check_point.hpp"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>

namespace {

void ExpectMatrixNear(const Matrix& a, const Matrix& b, float eps = 1e-5f) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], eps) << r << "," << c;
}

TEST(CheckPoint, DefaultsAreIdentityAndZero) {
    CheckPoint cp;
    EXPECT_EQ(cp.world, Matrix::Identity());
    EXPECT_EQ(cp.editedWorld, Matrix::Identity());
    EXPECT_EQ(cp.kind, 0);
    EXPECT_EQ(cp.enemyNo, 0);
    EXPECT_EQ(cp.offset[0] | cp.offset[1] | cp.offset[2], 0);
    EXPECT_EQ(cp.scale[0] * cp.scale[1] * cp.scale[2], 1.0f);
}

TEST(CheckPoint, ReadsKindGroupAndMatrixOnly) {
    std::istringstream in("1\t0\t1\t0\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0\t10\t0\t250\t1");
    CheckPoint cp;
    cp.SetOffsetScale(1, 2, 3, 4, 5, 6);
    EXPECT_EQ(cp.Read(in), 18);
    EXPECT_EQ(cp.kind, 1);
    EXPECT_EQ(cp.enemyNo, 0);
    EXPECT_EQ(cp.world, MatrixTranslation(10, 0, 250));
    EXPECT_EQ(cp.offset[2], 3);  // nothing but kind, enemyNo and world changes
    EXPECT_EQ(cp.editedWorld, Matrix::Identity());
}

// Words that do not start with a number leave their field as it was.
TEST(CheckPoint, WordParsingTable) {
    struct Case {
        const char* word;
        int intValue;      // expected kind, starting from 7
        float floatValue;  // expected _11, starting from 1
    };
    const Case cases[] = {
        {"12.5", 12, 12.5f}, {"abc", 7, 1.0f},   {"-3", -3, -3.0f},     {"+4", 4, 4.0f},
        {"2e3", 2, 2000.0f}, {"inf", 7, 1.0f},   {"nan", 7, 1.0f},      {"1e99", 1, 1.0f},
        {".5", 7, 0.5f},     {"-", 7, 1.0f},     {"99999999999", 7, 99999999999.0f},
        {"1,5", 1, 1.0f},    {"0x10", 0, 0.0f},
    };
    for (const Case& c : cases) {
        int i = 7;
        float f = 1.0f;
        const char* end = c.word + std::char_traits<char>::length(c.word);
        ParseCourseInt(c.word, end, &i);
        ParseCourseFloat(c.word, end, &f);
        EXPECT_EQ(i, c.intValue) << c.word;
        EXPECT_EQ(f, c.floatValue) << c.word;
    }
}

TEST(CheckPoint, PlaceDropsMainCourseGates110Units) {
    const Matrix base = MatrixRotationY(0.5f) * MatrixTranslation(3, 50, 7);
    CheckPoint main;
    main.Place(3, 0, base);
    EXPECT_EQ(main.kind, 3);
    ExpectMatrixNear(main.world, MatrixTranslation(0, -110, 0) * base);
    EXPECT_LT(main.world.m[3][1], 50.0f - 100.0f);

    CheckPoint route;
    route.Place(0, 2, base);
    EXPECT_EQ(route.enemyNo, 2);
    ExpectMatrixNear(route.world, base);
}

TEST(CheckPoint, EditedWorldIsScaleThenOffsetThenWorld) {
    CheckPoint cp;
    cp.world = MatrixRotationY(1.0f) * MatrixTranslation(100, 0, 0);
    cp.SetOffsetScale(1, 2, 3, 2, 0, 4);
    EXPECT_EQ(cp.scale[1], 0.0f);
    cp.UpdateEditedWorld();
    ExpectMatrixNear(cp.offsetMatrix, MatrixTranslation(1, 2, 3));
    ExpectMatrixNear(cp.scaleMatrix, MatrixScaling(2, 0, 4));
    ExpectMatrixNear(cp.editedWorld, MatrixScaling(2, 0, 4) * MatrixTranslation(1, 2, 3) * cp.world);
}

}  // namespace
