// Vectors, matrices and quaternions as the game's drawing and motion use them: row vectors,
// left-handed, v' = v x M, a product A x B applies A first.
#pragma once

#include <cmath>

struct Vec2 {
    float x = 0, y = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;

    constexpr Vec3() = default;
    constexpr Vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    constexpr Vec3 operator+(Vec3 o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vec3 operator-(Vec3 o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vec3 operator-() const { return {-x, -y, -z}; }
    constexpr Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr Vec3 operator/(float s) const { return {x / s, y / s, z / s}; }
    Vec3& operator+=(Vec3 o) { return *this = *this + o; }
    Vec3& operator-=(Vec3 o) { return *this = *this - o; }
    Vec3& operator*=(float s) { return *this = *this * s; }
    constexpr bool operator==(const Vec3&) const = default;
};

struct Vec4 {
    float x = 0, y = 0, z = 0, w = 0;
    constexpr bool operator==(const Vec4&) const = default;
};

// A colour as four floats, red, green, blue, alpha (D3DCOLORVALUE).
struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
    constexpr bool operator==(const ColorValue&) const = default;
};

struct Quat {
    float x = 0, y = 0, z = 0, w = 1;
};

// 4x4 row-major matrix; m[3][0..2] is the translation (_41 _42 _43).
struct Matrix {
    float m[4][4] = {};

    static constexpr Matrix Identity() {
        Matrix r;
        r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
        return r;
    }
    const float* Data() const { return &m[0][0]; }
    float* Data() { return &m[0][0]; }
    Vec3 Row(int i) const { return {m[i][0], m[i][1], m[i][2]}; }
    void SetRow(int i, Vec3 v) { m[i][0] = v.x; m[i][1] = v.y; m[i][2] = v.z; }
    bool operator==(const Matrix&) const = default;
};

constexpr float kDegToRad = 0.017453292f;  // the factor every record angle is converted with

inline float Vec3Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Vec3Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Vec3Length(Vec3 v) { return std::sqrt(Vec3Dot(v, v)); }
// The zero vector normalises to zero.
Vec3 Vec3Normalize(Vec3 v);
// (x, y, z, 1) x M, divided by the resulting w.
Vec3 Vec3TransformCoord(Vec3 v, const Matrix& m);
// (x, y, z, 0) x M: directions, no translation.
Vec3 Vec3TransformNormal(Vec3 v, const Matrix& m);
Vec4 Vec4Transform(Vec4 v, const Matrix& m);

Matrix MatrixIdentity();
Matrix MatrixMultiply(const Matrix& a, const Matrix& b);
inline Matrix operator*(const Matrix& a, const Matrix& b) { return MatrixMultiply(a, b); }
// The inverse, or the identity with *determinant = 0 when the matrix is singular.
Matrix MatrixInverse(const Matrix& m, float* determinant = nullptr);
Matrix MatrixTranspose(const Matrix& m);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixScaling(float x, float y, float z);
Matrix MatrixRotationX(float radians);
Matrix MatrixRotationY(float radians);
Matrix MatrixRotationZ(float radians);
// Roll about z, then pitch about x, then yaw about y.
Matrix MatrixRotationYawPitchRoll(float yaw, float pitch, float roll);
Matrix MatrixRotationQuaternion(Quat q);
Matrix MatrixLookAtLH(Vec3 eye, Vec3 at, Vec3 up);
// Depth maps to 0 at the near plane and 1 at the far plane.
Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
Matrix MatrixOrthoOffCenterLH(float l, float r, float b, float t, float zn, float zf);

Quat QuaternionRotationMatrix(const Matrix& m);
Quat QuaternionSlerp(Quat a, Quat b, float t);
Quat QuaternionNormalize(Quat q);
