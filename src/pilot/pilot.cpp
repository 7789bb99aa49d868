// The pilot's decisions: what it sees, what it aims at, when it fires, where it slides.
#include "pilot/pilot.hpp"

#include <algorithm>
#include <cmath>

#include "chara/camera.hpp"
#include "chara/enemy.hpp"
#include "chara/mouse.hpp"
#include "chara/player.hpp"
#include "course/bullet_pool.hpp"

static_assert(Enemy::kUnitCount == 40, "a chain's memory holds one track per unit");

namespace {

constexpr float kRadToDeg = 57.29578f;
constexpr int kMemory = 20;            // updates a unit out of the picture is still reckoned with
constexpr float kShotReach = 2.5f;     // a shot in flight sets off within its size (0.5) + 2
constexpr float kAimSlack = 1.0f;      // how much worse than that the pilot still fires at
constexpr float kRange = 450.0f;       // no shot at units further away: they move too much meanwhile
constexpr int kDodgeHorizon = 30;      // updates ahead the pilot reckons where units and craft will be
constexpr float kSafeDistance = 6.0f;  // closer than this, a unit is about to touch
constexpr float kGateLimit = 22.0f;    // never further aside of the gate ahead than this
constexpr float kDrift = 6.0f;         // with nothing near, the craft comes back this close
constexpr float kRestPitch = 4.0f;     // degrees down the view rests at, with nothing to aim at
constexpr int kHalfWidth = 639, kHalfHeight = 359;  // the cursor stays in the picture

float Wrap180(float degrees) {
    degrees = std::fmod(degrees, 360.0f);
    if (degrees > 180.0f) degrees -= 360.0f;
    if (degrees <= -180.0f) degrees += 360.0f;
    return degrees;
}

// The look offset that turns an angle by `degrees` in one update: the mouse look turns by a
// hundredth of the offset, and nothing within its dead zone.
int LookOffset(float degrees, int limit) {
    const int offset = std::clamp(int(std::lround(degrees * 100.0f)), -limit, limit);
    return std::abs(offset) <= Mouse::kDeadZone ? 0 : offset;
}

// Where the line from `from` along `direction` (unit length) leaves the sphere of `radius`
// about `centre`; `from` lies inside it.
Vec3 LeaveSphere(Vec3 from, Vec3 direction, Vec3 centre, float radius) {
    const Vec3 o = from - centre;
    const float b = Vec3Dot(o, direction);
    const float c = Vec3Dot(o, o) - radius * radius;
    const float s = -b + std::sqrt(std::max(0.0f, b * b - c));
    return from + direction * s;
}

}  // namespace

bool Pilot::Known(const Track& track) const { return update_ - track.seenAt <= kMemory; }

void Pilot::Remember(const std::vector<SeenUnit>& seen) {
    for (const SeenUnit& unit : seen) {
        if (unit.chain >= int(chains_.size())) chains_.resize(unit.chain + 1);
        Track& t = chains_[unit.chain][unit.index];
        if (!unit.flying) {
            t = Track{};  // destroyed: nothing to reckon with any more
            continue;
        }
        if (t.seenAt == update_ - 1) {
            const Vec3 step = unit.position - t.position;
            t.velocity = t.moving ? t.velocity * 0.5f + step * 0.5f : step;
            t.moving = true;
        } else {
            t.moving = false;
            t.velocity = {};
        }
        t.position = unit.position;
        t.seenAt = update_;
    }
    // What left the picture is reckoned on where it was heading.
    for (Chain& chain : chains_)
        for (Track& t : chain)
            if (t.seenAt < update_ && Known(t)) t.position += t.velocity;
}

// The chain whose nearest unit comes close soonest, among those seen just now.
int Pilot::ChooseTarget(Vec3 craft) const {
    int best = -1;
    float soonest = 1e9f;
    for (size_t c = 0; c < chains_.size(); ++c) {
        for (const Track& t : chains_[c]) {
            if (t.seenAt != update_ || !t.moving) continue;
            const Vec3 r = t.position - craft;
            const Vec3 w = t.velocity - craftVelocity_;
            const float ww = Vec3Dot(w, w);
            const float closest = ww > 1e-6f ? std::clamp(-Vec3Dot(r, w) / ww, 0.0f, 600.0f) : 0.0f;
            const float miss = Vec3Length(r + w * closest);
            const float when = closest + std::max(0.0f, miss - 10.0f) * 0.5f;
            if (when < soonest) {
                soonest = when;
                best = int(c);
            }
        }
    }
    return best;
}

// Where a shot from the gun meets the unit if it keeps its course: a shot fired in this update
// stands 2.5 + 15k ahead of the gun when the unit has made k + 1 more steps.
Vec3 Pilot::Intercept(const Track& track, Vec3 gun) const {
    for (int k = 1; k <= BulletPool::kShotLife; ++k) {
        const Vec3 there = track.position + track.velocity * float(k + 1);
        if (Vec3Length(there - gun) <= BulletPool::kMuzzleAhead + BulletPool::kShotStep * float(k)) return there;
    }
    return track.position;
}

// Turns the view so the gun's next shots pass through `point`. The gun points at where the
// camera's line of sight meets the sky; that place must lie on the line from the gun through
// the point, and the camera, riding behind the craft, must look at it.
void Pilot::Aim(const Moment& now, Vec3 point, Controls* out) const {
    const Matrix& craft = now.craft.world;
    const Vec3 centre = craft.Row(3) + craftVelocity_;
    const Vec3 gun = now.gun.Row(3) + craftVelocity_;
    const float skyRadius = now.camera.rayDistance > 0.0f ? Vec3Length(now.camera.target - craft.Row(3)) : 3000.0f;
    const Vec3 onSky = LeaveSphere(gun, Vec3Normalize(point - gun), centre, skyRadius);
    Matrix next = craft;
    next.SetRow(3, centre);
    const Vec3 right = Vec3Normalize(craft.Row(0)), up = Vec3Normalize(craft.Row(1)), ahead = Vec3Normalize(craft.Row(2));
    float pitch = now.camera.pitch, yaw = now.camera.yaw;
    for (int i = 0; i < 3; ++i) {
        const Matrix eye = MatrixTranslation(0, 6, -12) * MatrixRotationX(pitch * kDegToRad) * MatrixRotationY(yaw * kDegToRad) * next;
        const Vec3 look = Vec3Normalize(onSky - eye.Row(3));
        const Vec3 local{Vec3Dot(look, right), Vec3Dot(look, up), Vec3Dot(look, ahead)};
        yaw = std::atan2(local.x, local.z) * kRadToDeg;
        pitch = std::clamp(-std::asin(std::clamp(local.y, -1.0f, 1.0f)) * kRadToDeg, Mouse::kPitchMin, Mouse::kPitchMax);
    }
    out->lookX = LookOffset(Wrap180(yaw - now.camera.yaw), kHalfWidth);
    out->lookY = LookOffset(pitch - now.camera.pitch, kHalfHeight);
}

// A shot fired now flies from the gun towards the camera's target: fire when one of its steps
// lands on a unit's coming place.
bool Pilot::ShotWouldTell(const Moment& now) const {
    const Vec3 gun = now.gun.Row(3) + craftVelocity_;
    const Vec3 direction = Vec3Normalize(now.camera.target - gun);
    for (const Chain& chain : chains_) {
        for (const Track& t : chain) {
            if (t.seenAt != update_ || !t.moving) continue;
            if (Vec3Length(t.position - gun) > kRange) continue;
            for (int k = 1; k * BulletPool::kShotStep < kRange + 30.0f; ++k) {
                const Vec3 shot = gun + direction * (BulletPool::kMuzzleAhead + BulletPool::kShotStep * float(k));
                const Vec3 unit = t.position + t.velocity * float(k + 1);
                if (Vec3Length(shot - unit) < kShotReach + kAimSlack) return true;
            }
        }
    }
    return false;
}

// Slides away from what is about to touch, never further aside of the gate ahead than the
// craft can pass it, and drifts back towards the gate's middle when nothing is near.
int Pilot::ChooseSlide(const Moment& now) {
    const Matrix& craft = now.craft.world;
    const Vec3 position = craft.Row(3);
    const Vec3 right = Vec3Normalize(craft.Row(0));
    const Vec3 base = craftVelocity_ - right * (Player::kStrafeStep * float(lastSlide_));
    const CheckPoint& gate = now.craft.current.gate();
    const float aside = Vec3Dot(position - gate.world.Row(3), Vec3Normalize(gate.world.Row(0)));

    float clearance[3];
    for (int s = -1; s <= 1; ++s) {
        const Vec3 velocity = base + right * (Player::kStrafeStep * float(s));
        float nearest = 1e9f;
        for (const Chain& chain : chains_) {
            for (const Track& t : chain) {
                if (!Known(t)) continue;
                for (int k = 1; k <= kDodgeHorizon; ++k) {
                    const float d = Vec3Length(t.position + t.velocity * float(k) - position - velocity * float(k));
                    // What comes sooner counts more: a later miss can still be slid away from.
                    nearest = std::min(nearest, d + float(k) * 0.15f);
                }
            }
        }
        clearance[s + 1] = nearest;
    }
    danger = clearance[1] < kSafeDistance;
    int slide = 0;
    if (danger) {
        float best = clearance[1];
        for (int s : {-1, 1}) {
            if (aside * float(s) > kGateLimit) continue;
            if (clearance[s + 1] > best + 0.5f) {
                best = clearance[s + 1];
                slide = s;
            }
        }
    } else if (std::fabs(aside) > kDrift) {
        const int back = aside > 0 ? -1 : 1;
        if (clearance[back + 1] >= kSafeDistance) slide = back;
    }
    return slide;
}

Controls Pilot::Fly(const Moment& now) {
    ++update_;
    const Vec3 craft = now.craft.world.Row(3);
    craftVelocity_ = hasLast_ ? craft - lastCraft_ : Vec3Normalize(now.craft.world.Row(2)) * Player::kSpeed;
    lastCraft_ = craft;
    hasLast_ = true;
    Remember(UnitsInView(now.characters, CameraViewProjection(now.camera, now.aspect)));

    Controls c;
    targetChain = ChooseTarget(craft);
    if (targetChain >= 0) {
        // The front of the chain: the units behind fly into the blast on its path.
        const Chain& chain = chains_[targetChain];
        const Track* front = nullptr;
        for (const Track& t : chain)
            if (t.seenAt == update_ && t.moving) {
                front = &t;
                break;
            }
        Aim(now, Intercept(*front, now.gun.Row(3)), &c);
        c.fire = ShotWouldTell(now);
    } else {
        // Nothing to aim at: the view settles on the way ahead.
        c.lookX = LookOffset(Wrap180(-now.camera.yaw), kHalfWidth);
        c.lookY = LookOffset(kRestPitch - now.camera.pitch, kHalfHeight);
    }
    const int slide = ChooseSlide(now);
    c.slideLeft = slide < 0;
    c.slideRight = slide > 0;
    lastSlide_ = slide;
    return c;
}
