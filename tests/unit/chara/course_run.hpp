// A run over a course without the game scene: the player stand-in flies the main course and the
// enemies fly as the game scene will drive them, with its gate-passing loop: the trigger gates
// release the enemies at their spawn gates, an enemy at the end of its route joins the main
// course where its forward ray meets a main gate, and every passed gate moves a character on.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "chara/character_factory.hpp"
#include "chara/enemy.hpp"
#include "course/bullet_pool.hpp"
#include "course/course_file.hpp"
#include "motion/local_mover.hpp"
#include "scene/game_services.hpp"

namespace enemy_world {

// Flies from flight point to flight point of the main course (110 above each gate along its up
// axis) at the player's 1.9 per update, facing the next; the gate-passing loop moves it on.
class CourseFlyer : public CharaBase {
public:
    explicit CourseFlyer(CoursePosition start) {
        current = start;
        world.SetRow(3, FlightPoint(start.gate()));
        current.MoveNext();
    }
    static Vec3 FlightPoint(const CheckPoint& gate) { return gate.world.Row(3) + Vec3Normalize(gate.world.Row(1)) * 110.0f; }
    bool Update(const UpdateContext&) override {
        const Vec3 at = world.Row(3), to = FlightPoint(current.gate());
        const float distance = Vec3Length(to - at);
        if (distance < 1e-3f) return false;
        world = MatrixInverse(MatrixLookAtLH(at, to, {0, 1, 0}));
        LocalMover::MoveForward(world, std::min(1.9f, distance));
        return false;
    }
    void Draw() override {}
};

class CourseRun {
public:
    // The player at the course's start and one enemy per spawn gate, in course order, all made
    // there as the game scene makes them, with the game's services.
    CourseRun(const CourseList& course, GameServices& services)
        : bullets(services.assets(), services.kept().fireCooldown), course_(course), models_(services.assets().models) {
        characters.push_back(std::make_unique<CourseFlyer>(CoursePosition(course, 0)));
        for (const auto& gate : course)
            if (gate->kind == checkpoint_kind::kStart && gate->enemyNo != 0)
                characters.push_back(CharacterFactory("enemy", CoursePosition(course, 0), services.assets()));
        lastTrigger = CoursePosition(course, 0);
        scenePasses.resize(characters.size());
        ownPasses.resize(characters.size());
    }

    Enemy& enemy(size_t k) { return static_cast<Enemy&>(*characters[k]); }
    CharaBase& player() { return *characters[0]; }

    // One update of every character, the player first. Returns how many touched the player.
    int Update() {
        int touches = 0;
        for (size_t i = 0; i < characters.size(); ++i) {
            CharaBase& c = *characters[i];
            if (Passes(c, c.current.gate(), kPassDistance)) {
                ReleaseAtTrigger();
                if (c.current.gate().kind == checkpoint_kind::kEnd) {
                    if (i == 0)
                        runOver = true;
                    else
                        JoinMainCourse(c);
                }
                if (c.current.HasNext()) {
                    c.current.MoveNext();
                    c.OnCheckpointPassed();
                }
                ++scenePasses[i];
            }
            const size_t before = c.current.index();
            touches += c.Update({Matrix::Identity(), bullets, player(), &score, 3, Controls{}});
            ownPasses[i] += static_cast<int>(c.current.index() - before);
        }
        ++updates;
        return touches;
    }

    std::vector<std::unique_ptr<CharaBase>> characters;
    BulletPool bullets;
    int score = 0;
    int enemiesReleased = 0;
    CoursePosition lastTrigger;
    bool runOver = false;
    int updates = 0;
    std::vector<int> scenePasses;  // per character: gates passed by the game scene's test
    std::vector<int> ownPasses;    // per character: gates passed by its own test

private:
    static constexpr float kPassDistance = 5.0f;
    static constexpr float kJoinReach = 500.0f;

    // The forward ray of the character, in the gate's frame, against the main gate panel.
    bool Passes(const CharaBase& c, const CheckPoint& gate, float below) {
        const Matrix inverse = MatrixInverse(gate.world);
        const Vec3 origin = Vec3TransformCoord(c.world.Row(3), inverse);
        const Vec3 ahead = Vec3TransformNormal(Vec3TransformNormal({0, 0, 1}, c.world), inverse);
        const platform::RayHit hit = models_.Get("data/model/CheckPoint.x")->Intersect(origin, ahead);
        return hit.hit && hit.distance < below;
    }
    void ReleaseAtTrigger() {
        const CoursePosition& heading = player().current;
        if (heading.gate().kind != checkpoint_kind::kTrigger || heading == lastTrigger) return;
        enemiesReleased = std::min(enemiesReleased + 1, static_cast<int>(course_.size()) - 1);
        const auto spawn = std::find_if(course_.begin(), course_.end(),
                                        [&](const auto& g) { return g->enemyNo == enemiesReleased; });
        if (spawn != course_.end() && static_cast<size_t>(enemiesReleased) < characters.size()) {
            CharaBase& e = *characters[enemiesReleased];
            e.current.MoveTo(static_cast<size_t>(spawn - course_.begin()));
            e.Activate();
        }
        lastTrigger = heading;
    }
    void JoinMainCourse(CharaBase& c) {
        for (size_t k = 0; k < course_.size(); ++k)
            if (course_[k]->enemyNo == 0 && Passes(c, *course_[k], kJoinReach)) {
                c.current.MoveTo(k);
                return;
            }
    }

    const CourseList& course_;
    ModelCache& models_;
};

}  // namespace enemy_world
