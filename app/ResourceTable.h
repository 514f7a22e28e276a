#pragma once

// Every file the game reads from its resource folder, named once. The game
// opens them by path; the baker writes them by name into the folder it is
// given. Neither needs the engine to ask.
enum class Resource {
    JetMesh,        // the jet, as an OBJ with its material file beside it
    GunsMesh,       // the twin guns, likewise
    HudFont,        // the engine's bitmap font image
    Icon,           // the launcher's and the window's icon
    Crosshair,
    MuzzleFlash,
    Smoke,          // the first puff of a burning jet's trail
    Smoke1,         // the puffs that follow
    Fireball,
    HeightMap,
    DetailMap,      // the ground's picture
    SkyFront,       // the sky box's faces, round the horizon front, right, back, left
    SkyRight,
    SkyBack,
    SkyLeft,
    SkyTop,
    SkyBottom,
    GunBurstSound,
    FlyBySound,
    HitSound,       // the boom of a jet set burning
    BomberMesh,     // the raid's aircraft and bombs, and what they sound like
    AttackerMesh,
    BombMesh,
    BomberSound,    // the bomber's engines
    WhistleSound,   // a falling bomb
    BombBurstSound,
    CannonSound,    // the attacker's cannon
    ImpactSound,    // a hit on the gun position
    MagazineOutSound,  // an empty magazine taken out at a reload
    MagazineInSound,   // a full one put in
    DryClickSound,     // the trigger pressed with nothing left
    EngineSound,       // a jet's engines, looped while it flies
    Count
};

class ResourceTable {
public:
    // The folder, relative to where the game starts: "../res/".
    static const char* folder();
    // The file's name inside the folder, as the baker writes it.
    static const char* name(Resource resource);
    // The folder and the name together, as the game opens it; the text lives
    // as long as the program.
    static const char* path(Resource resource);
};
