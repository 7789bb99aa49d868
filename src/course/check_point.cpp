// The checkpoint record: reading one record and the editor's placement operations.
#include "course/check_point.hpp"

#include <charconv>
#include <cmath>
#include <istream>
#include <string>

namespace {

// Whitespace of the classic locale, whatever locale the stream carries.
bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Extracts one whitespace-delimited word; an empty word means the stream had none left.
std::string ReadWord(std::istream& in) {
    std::string word;
    std::streambuf* buf = in.rdbuf();
    if (!in.good() || buf == nullptr) return word;
    using Traits = std::istream::traits_type;
    int c = buf->sgetc();
    while (c != Traits::eof() && IsSpace(c)) c = buf->snextc();
    while (c != Traits::eof() && !IsSpace(c)) {
        word.push_back(static_cast<char>(c));
        c = buf->snextc();
    }
    if (c == Traits::eof()) in.setstate(std::ios::eofbit);
    return word;
}

// from_chars knows no leading '+', which stream extraction accepts.
const char* SkipPlus(const char* first, const char* last) {
    if (first != last && *first == '+' && first + 1 != last && *(first + 1) != '-') return first + 1;
    return first;
}

}  // namespace

bool ParseCourseInt(const char* first, const char* last, int* out) {
    int value = 0;
    auto [ptr, ec] = std::from_chars(SkipPlus(first, last), last, value);
    if (ec != std::errc()) return false;
    *out = value;
    return true;
}

bool ParseCourseFloat(const char* first, const char* last, float* out) {
    float value = 0.0f;
    auto [ptr, ec] = std::from_chars(SkipPlus(first, last), last, value, std::chars_format::general);
    if (ec != std::errc() || !std::isfinite(value)) return false;
    *out = value;
    return true;
}

int CheckPoint::Read(std::istream& in) {
    int words = 0;
    std::string word = ReadWord(in);
    words += word.empty() ? 0 : 1;
    ParseCourseInt(word.data(), word.data() + word.size(), &kind);
    word = ReadWord(in);
    words += word.empty() ? 0 : 1;
    ParseCourseInt(word.data(), word.data() + word.size(), &enemyNo);
    float* element = world.Data();
    for (int i = 0; i < 16; ++i) {
        word = ReadWord(in);
        words += word.empty() ? 0 : 1;
        ParseCourseFloat(word.data(), word.data() + word.size(), &element[i]);
    }
    return words;
}

void CheckPoint::Place(int newKind, int newEnemyNo, const Matrix& base) {
    kind = newKind;
    enemyNo = newEnemyNo;
    const float drop = newEnemyNo == 0 ? -110.0f : 0.0f;
    world = MatrixTranslation(0.0f, drop, 0.0f) * base;
}

void CheckPoint::SetOffsetScale(int x, int y, int z, int sx, int sy, int sz) {
    offset[0] = x;
    offset[1] = y;
    offset[2] = z;
    scale[0] = static_cast<float>(sx);
    scale[1] = static_cast<float>(sy);
    scale[2] = static_cast<float>(sz);
}

void CheckPoint::UpdateEditedWorld() {
    offsetMatrix = MatrixTranslation(static_cast<float>(offset[0]), static_cast<float>(offset[1]),
                                     static_cast<float>(offset[2]));
    scaleMatrix = MatrixScaling(scale[0], scale[1], scale[2]);
    editedWorld = scaleMatrix * offsetMatrix * world;
}
