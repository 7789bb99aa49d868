// The course file: loading into a list, the saved text, and the safe save.
#include "course/course_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "full_disk.hpp"

namespace {

namespace fs = std::filesystem;

const char* kGateLine = "1\t0\t1\t0\t0\t0\t0\t1\t0\t0\t0\t0\t1\t0\t10\t0\t250\t1";

CourseList Read(const std::string& text, CourseLoadReport* report = nullptr) {
    std::istringstream in(text);
    CourseList list;
    CourseLoadReport r = ReadCourse(in, list);
    if (report) *report = r;
    return list;
}

std::unique_ptr<CheckPoint> Gate(int kind, int enemyNo, const Matrix& world) {
    auto cp = std::make_unique<CheckPoint>();
    cp->kind = kind;
    cp->enemyNo = enemyNo;
    cp->world = world;
    cp->UpdateEditedWorld();
    return cp;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvelin_course_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// How much whitespace and how the last record ends decide the record count.
TEST(CourseRead, RecordCountTable) {
    struct Case {
        std::string text;
        std::size_t records;
        bool ok;
    };
    const std::string two = std::string(kGateLine) + "\r\n" + kGateLine;
    const Case cases[] = {
        {"", 0, true},
        {" \n\t\r\n", 0, true},
        {kGateLine, 1, true},
        {std::string(kGateLine) + "\n", 1, true},        // no phantom record at the origin
        {std::string(kGateLine) + " \r\n\n  ", 1, true},
        {two, 2, true},
        {two + "\n", 2, true},
        {"1 0 1 0 0", 1, false},                          // ends early: kept, reported
    };
    for (const Case& c : cases) {
        CourseLoadReport report;
        CourseList list = Read(c.text, &report);
        EXPECT_EQ(list.size(), c.records) << c.text;
        EXPECT_EQ(report.records, c.records);
        EXPECT_EQ(report.Ok(), c.ok) << c.text;
    }
}

TEST(CourseRead, ExampleLineIsAPlainGateAt10_0_250) {
    CourseList list = Read(kGateLine);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->kind, 1);
    EXPECT_EQ(list[0]->world, MatrixTranslation(10, 0, 250));
}

TEST(CourseRead, TruncatedRecordKeepsWhatWasRead) {
    CourseLoadReport report;
    CourseList list = Read(std::string(kGateLine) + "\n3 2 5", &report);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]->kind, 3);
    EXPECT_EQ(list[1]->enemyNo, 2);
    EXPECT_EQ(list[1]->world.m[0][0], 5.0f);
    EXPECT_EQ(list[1]->world.m[3][3], 1.0f);
    EXPECT_TRUE(report.truncated);
    EXPECT_FALSE(report.message.empty());
}

TEST(CourseRead, BadWordLeavesDefault) {
    CourseList list = Read("x 2 1 0 0 0 0 1 0 0 0 0 1 0 abc 5 6 1");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->kind, 0);
    EXPECT_EQ(list[0]->enemyNo, 2);
    EXPECT_EQ(list[0]->world.m[3][0], 0.0f);
    EXPECT_EQ(list[0]->world.m[3][1], 5.0f);
}

TEST(CourseRead, ReadsTheSameUnderACommaLocale) {
    std::istringstream in("1 0 1.5 0 0 0 0 1 0 0 0 0 1 0 10.25 0 250 1");
    try {
        in.imbue(std::locale("de_DE.UTF-8"));
    } catch (const std::exception&) {
        // No German locale here; the classic stream still checks the parse.
    }
    CourseList list;
    ReadCourse(in, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->world.m[0][0], 1.5f);
    EXPECT_EQ(list[0]->world.m[3][0], 10.25f);
}

TEST(CourseRead, EmptiesTheListFirst) {
    CourseList list = Read(std::string(kGateLine) + "\n" + kGateLine);
    std::istringstream in(kGateLine);
    ReadCourse(in, list);
    EXPECT_EQ(list.size(), 1u);
}

TEST(CourseFormat, FloatsKeepSixSignificantDigits) {
    const std::pair<float, const char*> cases[] = {
        {1.0f, "1"},          {0.0f, "0"},          {-110.0f, "-110"},     {0.5f, "0.5"},
        {3.14159265f, "3.14159"}, {1234567.0f, "1.23457e+06"}, {0.0001f, "0.0001"},
        {0.00001f, "1e-05"},  {-2.5e-7f, "-2.5e-07"}, {123456.0f, "123456"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(FormatCourseFloat(value), text) << value;
}

TEST(CourseFormat, EmptyListIsEmptyTextAndOneRecordHasNoLineBreak) {
    CourseList list;
    EXPECT_EQ(FormatCourse(list), "");
    list.push_back(Gate(1, 0, MatrixTranslation(10, 0, 250)));
    EXPECT_EQ(FormatCourse(list), kGateLine);
    list.push_back(Gate(2, 3, Matrix::Identity()));
    const std::string text = FormatCourse(list);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    EXPECT_NE(text.back(), '\n');
}

TEST(CourseFormat, SavesEditedWorldAndReadsBackTheSameRecords) {
    CourseList list;
    list.push_back(Gate(0, 0, MatrixRotationY(0.3f) * MatrixTranslation(1.234567f, -103.5f, 9876.54f)));
    list.push_back(Gate(3, 0, MatrixTranslation(0, 0, 400)));
    list.push_back(Gate(0, 1, MatrixRotationY(-1.0f) * MatrixTranslation(-50, 7, 800)));
    list[1]->SetOffsetScale(5, 0, 0, 2, 2, 2);
    list[1]->UpdateEditedWorld();
    const std::string text = FormatCourse(list);
    CourseList back = Read(text);
    ASSERT_EQ(back.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(back[i]->kind, list[i]->kind);
        EXPECT_EQ(back[i]->enemyNo, list[i]->enemyNo);
        for (int e = 0; e < 16; ++e) {
            const float want = list[i]->editedWorld.Data()[e];
            EXPECT_NEAR(back[i]->world.Data()[e], want, std::abs(want) * 1e-5f + 1e-6f);
        }
        back[i]->UpdateEditedWorld();
    }
    EXPECT_EQ(FormatCourse(back), text);  // six digits survive a second round unchanged
    EXPECT_EQ(back[0]->world.m[3][0], 1.23457f);  // the seventh digit is gone
}

TEST_F(TempDir, SaveReplacesTheFileAndLeavesNoTemporary) {
    const fs::path file = dir_ / "test2.dat";
    std::ofstream(file) << "old";
    CourseList list;
    list.push_back(Gate(1, 0, MatrixTranslation(10, 0, 250)));
    std::string error;
    ASSERT_TRUE(SaveCourse(list, file.string(), &error)) << error;
    EXPECT_EQ(Slurp(file), kGateLine);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    CourseList loaded;
    CourseLoadReport report = LoadCourse(file.string(), loaded);
    EXPECT_TRUE(report.Ok());
    EXPECT_EQ(loaded.size(), 1u);
}

TEST_F(TempDir, FailedSaveKeepsThePreviousFileAndNoTemporary) {
    const fs::path file = dir_ / "test2.dat";
    std::ofstream(file) << kGateLine;
    CourseList list;
    ASSERT_EQ(LoadCourse(file.string(), list).Ok(), true);
    list.push_back(std::make_unique<CheckPoint>(*list.front()));
    std::string error;
    {
        const FullDisk full;
        EXPECT_FALSE(SaveCourse(list, file.string(), &error));
    }
    EXPECT_NE(error.find("test2.dat.saving-"), std::string::npos) << error;
    EXPECT_EQ(Slurp(file), kGateLine);
    for (const auto& entry : fs::directory_iterator(dir_)) EXPECT_EQ(entry.path(), file) << "a temporary was left";
}

TEST(CourseLoad, MissingFileGivesEmptyListAndMessage) {
    CourseList list = Read(kGateLine);
    CourseLoadReport report = LoadCourse("/nonexistent/korvelin/cpdata.dat", list);
    EXPECT_FALSE(report.opened);
    EXPECT_TRUE(list.empty());
    EXPECT_NE(report.message.find("cannot open"), std::string::npos);
}

TEST_F(TempDir, LoadRefusesWhatIsNotACourseFileAndNamesTheLimits) {
    std::string records;
    for (size_t i = 0; i < course_limits::kMaxRecords; ++i) records += std::string(kGateLine) + "\n";
    const fs::path most = dir_ / "most.dat", more = dir_ / "more.dat", large = dir_ / "large.dat", folder = dir_ / "folder";
    std::ofstream(most) << records;
    std::ofstream(more) << records << kGateLine;
    std::ofstream(large) << std::string(course_limits::kMaxBytes - std::string(kGateLine).size(), ' ') << kGateLine << ' ';
    fs::create_directories(folder);
    const struct {
        fs::path file;
        bool ok;
        size_t records;
        std::string message;
    } cases[] = {
        {most, true, course_limits::kMaxRecords, ""},
        {more, false, course_limits::kMaxRecords, most.parent_path().string() + "/more.dat: more than 256 records, the most a course may have"},
        {large, false, 0, large.string() + ": holds more than 1 MiB, the most a course file may hold"},
        {folder, false, 0, folder.string() + ": is a folder, not a file"},
        {"/dev/zero", false, 0, "/dev/zero: is not a file (a device or a socket)"},
    };
    for (const auto& c : cases) {
        CourseList list = Read(kGateLine);
        const CourseLoadReport report = LoadCourse(c.file.string(), list);
        EXPECT_EQ(report.Ok(), c.ok) << c.file;
        EXPECT_EQ(list.size(), c.records) << c.file;
        EXPECT_EQ(report.message, c.message) << c.file;
    }
}

// A stream whose buffer throws on every read, as a file stream does on a folder.
struct ThrowingBuffer : std::streambuf {
    int_type underflow() override { throw std::ios_base::failure("read error"); }
};

TEST(CourseRead, AThrowingStreamIsAReadError) {
    ThrowingBuffer buffer;
    std::istream in(&buffer);
    CourseList list;
    const CourseLoadReport report = ReadCourse(in, list);
    EXPECT_TRUE(report.readError);
    EXPECT_FALSE(report.Ok());
}

TEST(CourseLoad, FailingStreamEndsTheLoop) {
    std::istringstream in(kGateLine);
    in.setstate(std::ios::failbit);
    CourseList list;
    ReadCourse(in, list);
    EXPECT_TRUE(list.empty());
}

}  // namespace
