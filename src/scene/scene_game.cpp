// The game scene's construction and teardown.
#include "scene/scene_game.hpp"

#include "chara/character_factory.hpp"
#include "chara/unit_seed.hpp"
#include "course/course_rules.hpp"
#include "graphics/graphics_device.hpp"
#include "pilot/pilot.hpp"
#include "platform/input/input.hpp"
#include "scene/game_options.hpp"
#include "scene/game_services.hpp"

using namespace platform;

namespace {

// The course rules' ray tests, on the models the run flies over and through.
CourseGround::RayTest ModelRay(ModelCache& models, const char* file) {
    const Model* model = models.Get(file);
    return [model](Vec3 origin, Vec3 dir, float* distance) {
        const RayHit hit = model->Intersect(origin, dir);
        *distance = hit.distance;
        return hit.hit;
    };
}

std::string LoadGameCourse(ModelCache& models, CourseList& course) {
    const CourseGround ground{ModelRay(models, "data/model/mapA.x"), ModelRay(models, "data/model/CheckPoint.x")};
    return LoadPlayableCourse(CurrentGameOptions().courseFile, course, &ground);
}

}  // namespace

std::string CheckGameCourse(ModelCache& models) {
    CourseList course;
    return LoadGameCourse(models, course);
}

SceneGame::SceneGame(GameServices& services, bool demo)
    : services_(services), rules_(run_, characters, course, services.assets().models), hud_(services, demo),
      demo_(demo) {
    AssetCaches& assets = services.assets();
    sceneId = demo ? kSceneDemo : kSceneGame;
    mouse = std::make_unique<Mouse>();
    camera = std::make_unique<Camera>(assets.models);
    courseError_ = LoadGameCourse(assets.models, course);
    Input& input = GetInput();
    input.ShowCursor(false);
    if (!courseError_.empty()) return;

    const CoursePosition start(course, 0);
    characters.push_back(CharacterFactory("player", start, assets));
    for (const char* file : {"data/model/enemy.x", "data/model/mapD.x", "data/model/bullet.x", "data/model/explosion.x"})
        assets.models.Get(file);
    // One enemy per spawn gate, in course order: spawn gate n owns element n.
    SetUnitSeed(CurrentGameOptions().seed);
    for (const auto& cp : course)
        if (cp->kind == checkpoint_kind::kStart && cp->enemyNo != 0)
            characters.push_back(CharacterFactory("enemy", start, assets));
    weapon = std::make_unique<Weapon>(player().world, assets.models);
    bullets = std::make_unique<BulletPool>(assets, services.kept().fireCooldown);

    const PresentParams& pp = GraphicsDevice::Instance().presentParams;
    input.SetCursorPos(input.ClientToScreen({pp.backBufferWidth / 2, pp.backBufferHeight / 2}));
    assets.models.Get("data/model/bullet.x");
    assets.models.Get("data/model/mapD.x");
    assets.textures.Get("data/texture/particle.png");
    run_.lastTrigger = start;
    if (demo || CurrentGameOptions().autopilot) pilot_ = std::make_unique<Pilot>();
    // The first frame is drawn before the first update: the camera already sits behind the
    // player, though the white of the opening still covers everything.
    camera->world = MatrixTranslation(0, 6, -12) * player().world;
    camera->fov = run_.openingFov;
}

SceneGame::~SceneGame() {
    characters.clear();
    course.clear();
    GetInput().ShowCursor(true);
}

void SceneGame::PreDraw() { camera->SetView(); }
