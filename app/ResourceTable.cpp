#include "ResourceTable.h"

#include <array>
#include <string>

namespace {

constexpr int resourceCount = static_cast<int>(Resource::Count);

struct Entry {
    Resource resource;
    const char* name;
};

// In the order of the enumeration; the check below keeps it so.
constexpr std::array<Entry, resourceCount> table = {{
    {Resource::JetMesh, "SU35S.obj"},
    {Resource::GunsMesh, "guns.obj"},
    {Resource::HudFont, "fontlucida.png"},
    {Resource::Icon, "icon.png"},
    {Resource::Crosshair, "crosshair.png"},
    {Resource::MuzzleFlash, "mflash.png"},
    {Resource::Smoke, "smoke.png"},
    {Resource::Smoke1, "smoke1.png"},
    {Resource::Fireball, "fireball.png"},
    {Resource::HeightMap, "heightmap.png"},
    {Resource::DetailMap, "detailmap.png"},
    {Resource::SkyFront, "sky0.jpg"},
    {Resource::SkyRight, "sky1.jpg"},
    {Resource::SkyBack, "sky2.jpg"},
    {Resource::SkyLeft, "sky3.jpg"},
    {Resource::SkyTop, "skytop.jpg"},
    {Resource::SkyBottom, "skybottom.jpg"},
    {Resource::GunBurstSound, "gunburst.wav"},
    {Resource::FlyBySound, "flyby.wav"},
    {Resource::HitSound, "hit.wav"},
    {Resource::BomberMesh, "bomber.obj"},
    {Resource::AttackerMesh, "attacker.obj"},
    {Resource::BombMesh, "bomb.obj"},
    {Resource::BomberSound, "bomber.wav"},
    {Resource::WhistleSound, "whistle.wav"},
    {Resource::BombBurstSound, "bombburst.wav"},
    {Resource::CannonSound, "cannon.wav"},
    {Resource::ImpactSound, "impact.wav"},
    {Resource::MagazineOutSound, "magout.wav"},
    {Resource::MagazineInSound, "magin.wav"},
    {Resource::DryClickSound, "click.wav"},
    {Resource::EngineSound, "engine.wav"},
}};

constexpr bool inOrder()
{
    for (int i = 0; i < resourceCount; ++i)
        if (static_cast<int>(table[i].resource) != i || table[i].name == nullptr)
            return false;
    return true;
}
static_assert(inOrder(), "every resource has its line, in the order of the enumeration");

} // namespace

const char* ResourceTable::folder()
{
    return "../res/";
}

const char* ResourceTable::name(Resource resource)
{
    return table[static_cast<int>(resource)].name;
}

const char* ResourceTable::path(Resource resource)
{
    static const std::array<std::string, resourceCount> paths = [] {
        std::array<std::string, resourceCount> joined;
        for (int i = 0; i < resourceCount; ++i)
            joined[i] = std::string(folder()) + table[i].name;
        return joined;
    }();
    return paths[static_cast<int>(resource)].c_str();
}
