// Math against values worked out by hand from the documented D3DX formulas.
#include "math/math.hpp"

#include <gtest/gtest.h>

namespace {

constexpr float kEps = 1e-5f;

void ExpectNear(Vec3 a, Vec3 b, float eps = kEps) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

void ExpectNear(const Matrix& a, const Matrix& b, float eps = kEps) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], eps) << "at " << i << "," << j;
}

TEST(Math, RowVectorsTranslateAndProductsApplyLeftFirst) {
    Matrix t = MatrixTranslation(1, 2, 3);
    ExpectNear(Vec3TransformCoord({1, 1, 1}, t), {2, 3, 4});
    ExpectNear(Vec3TransformNormal({1, 1, 1}, t), {1, 1, 1});
    // Scale first, then move: (1,0,0) -> (2,0,0) -> (12,0,0).
    ExpectNear(Vec3TransformCoord({1, 0, 0}, MatrixScaling(2, 2, 2) * MatrixTranslation(10, 0, 0)),
               {12, 0, 0});
    ExpectNear(Vec3TransformCoord({1, 0, 0}, MatrixTranslation(10, 0, 0) * MatrixScaling(2, 2, 2)),
               {22, 0, 0});
}

TEST(Math, RotationsAreLeftHanded) {
    const float q = 1.5707963f;
    // Left-handed: a positive turn about y takes +z towards +x, about x takes +y towards +z,
    // about z takes +x towards +y.
    ExpectNear(Vec3TransformNormal({0, 0, 1}, MatrixRotationY(q)), {1, 0, 0});
    ExpectNear(Vec3TransformNormal({0, 1, 0}, MatrixRotationX(q)), {0, 0, 1});
    ExpectNear(Vec3TransformNormal({1, 0, 0}, MatrixRotationZ(q)), {0, 1, 0});
    // Yaw-pitch-roll = roll about z, then pitch about x, then yaw about y.
    Matrix ypr = MatrixRotationYawPitchRoll(0.3f, -0.7f, 1.1f);
    ExpectNear(ypr, MatrixRotationZ(1.1f) * MatrixRotationX(-0.7f) * MatrixRotationY(0.3f));
}

TEST(Math, InverseUndoesAndSingularGivesZeroDeterminant) {
    Matrix m = MatrixRotationYawPitchRoll(0.4f, 0.2f, -0.9f) * MatrixScaling(5, 5, 5) *
               MatrixTranslation(1200, -30, 4500);
    float det = 0;
    Matrix inv = MatrixInverse(m, &det);
    EXPECT_NEAR(det, 125.0f, 1e-2f);
    ExpectNear(m * inv, Matrix::Identity(), 1e-4f);
    MatrixInverse(MatrixScaling(1, 0, 1), &det);
    EXPECT_EQ(det, 0.0f);
}

TEST(Math, LookAtPutsTheEyeAtTheOriginLookingDownPlusZ) {
    Vec3 eye{0, 15, -80};
    Matrix v = MatrixLookAtLH(eye, {0, 15, 0}, {0, 1, 0});
    ExpectNear(Vec3TransformCoord(eye, v), {0, 0, 0});
    ExpectNear(Vec3TransformCoord({0, 15, 10}, v), {0, 0, 90});
    ExpectNear(Vec3TransformCoord({1, 15, -80}, v), {1, 0, 0});
    // The camera position is the translation row of the inverse view.
    ExpectNear(MatrixInverse(v).Row(3), eye, 1e-4f);
}

TEST(Math, PerspectiveMapsDepthToZeroOneAndUsesVerticalFov) {
    const float fov = 1.0471976f;  // 60 degrees
    Matrix p = MatrixPerspectiveFovLH(fov, 16.0f / 9.0f, 0.01f, 1000.0f);
    const float yScale = 1.0f / std::tan(fov / 2);  // cot(30 deg) = sqrt(3)
    EXPECT_NEAR(p.m[1][1], 1.7320508f, 1e-5f);
    EXPECT_NEAR(p.m[0][0], yScale * 9.0f / 16.0f, 1e-5f);
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 0.01f}, p).z, 0.0f, 1e-5f);
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 1000.0f}, p).z, 1.0f, 1e-5f);
    // A point on the upper edge of the view cone lands on y = 1.
    float z = 50.0f;
    EXPECT_NEAR(Vec3TransformCoord({0, z * std::tan(fov / 2), z}, p).y, 1.0f, 1e-5f);
}

TEST(Math, NormalizeKeepsDirectionAndZeroStaysZero) {
    ExpectNear(Vec3Normalize({3, 0, 4}), {0.6f, 0, 0.8f});
    Vec3 zero = Vec3Normalize({0, 0, 0});
    EXPECT_EQ(zero, Vec3(0, 0, 0));
}

TEST(Math, QuaternionRoundTripsThroughMatrices) {
    // Angles up to and beyond 90 degrees exercise every branch, including negative traces.
    const struct {
        float yaw, pitch, roll;
    } cases[] = {{0, 0, 0}, {0.5f, 0.1f, 0.2f}, {3.1f, 0, 0}, {0, 3.0f, 0}, {0, 0, 3.1f},
                 {2.5f, 1.2f, -2.9f}, {3.14159f, 0.0f, 0.0f}};
    for (auto c : cases) {
        Matrix m = MatrixRotationYawPitchRoll(c.yaw, c.pitch, c.roll);
        Quat q = QuaternionRotationMatrix(m);
        EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, 1e-4f);
        ExpectNear(MatrixRotationQuaternion(q), m, 1e-4f);
    }
    // Half a turn about y: (0, 1, 0, 0) up to sign.
    Quat half = QuaternionRotationMatrix(MatrixRotationY(3.14159265f));
    EXPECT_NEAR(std::fabs(half.y), 1.0f, 1e-5f);
    EXPECT_NEAR(half.w, 0.0f, 1e-5f);
}

TEST(Math, SlerpTakesTheShortArcAtConstantSpeed) {
    Quat a = QuaternionRotationMatrix(MatrixRotationY(0.0f));
    Quat b = QuaternionRotationMatrix(MatrixRotationY(1.2f));
    Quat mid = QuaternionSlerp(a, b, 0.25f);
    ExpectNear(MatrixRotationQuaternion(mid), MatrixRotationY(0.3f), 1e-5f);
    // The same rotation with the opposite sign must not send the slerp the long way round.
    Quat negB{-b.x, -b.y, -b.z, -b.w};
    ExpectNear(MatrixRotationQuaternion(QuaternionSlerp(a, negB, 0.5f)), MatrixRotationY(0.6f), 1e-5f);
    ExpectNear(MatrixRotationQuaternion(QuaternionSlerp(a, b, 1.0f)), MatrixRotationY(1.2f), 1e-5f);
}

}  // namespace
