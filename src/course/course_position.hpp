// A position in a course list: the gate a character heads for. The list must outlive the
// position and must not change while characters fly it, which the game scene guarantees by
// building its course once, before any character.
#pragma once

#include <cstddef>

#include "course/course_file.hpp"

class CoursePosition {
public:
    CoursePosition() = default;
    CoursePosition(const CourseList& list, std::size_t index) : list_(&list), index_(index) {}

    const CheckPoint& gate() const { return *(*list_)[index_]; }
    std::size_t index() const { return index_; }
    const CourseList& list() const { return *list_; }
    // A later record exists, so the position can move on.
    bool HasNext() const { return index_ + 1 < list_->size(); }
    // One record on; stays on the last record of the list rather than leave it.
    void MoveNext() {
        if (HasNext()) ++index_;
    }
    void MoveTo(std::size_t index) {
        if (index < list_->size()) index_ = index;
    }
    bool operator==(const CoursePosition& o) const { return list_ == o.list_ && index_ == o.index_; }
    // Earlier in the course order.
    bool operator<(const CoursePosition& o) const { return index_ < o.index_; }

private:
    const CourseList* list_ = nullptr;
    std::size_t index_ = 0;
};
