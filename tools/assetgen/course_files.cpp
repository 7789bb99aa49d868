// The course file and the copy the developer overlay loads.
#include "asset_tree.hpp"
#include "course_layout.hpp"

void AddCourseFiles(AssetList& out) {
    const std::string text = FormatCourse(course_layout::Build());
    out.push_back({"data/cpdata.dat", text});
    out.push_back({"data/test2.dat", text});
}
