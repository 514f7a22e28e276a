#pragma once

#include <irrTypes.h>

class FireControl;
namespace torvel { class AudioManager; class AudioSource; }

// What the player hears and is told of the magazine: the old magazine
// coming out when a reload begins, the new one going in when the guns are
// full again (a reload done, or a fresh magazine for a new round), the click
// of a trigger pressed with nothing left, and after such a click the prompt
// to reload until a reload begins.
//
// It watches the fire control rather than being told: the caller hands it
// the state after each change, and what changed since the last look decides
// the sounds.
class GunCues {
public:
    static const char* const magazineOutFile;  // the old magazine coming out
    static const char* const magazineInFile;   // the new one going in
    static const char* const dryClickFile;     // the trigger with nothing left
    static const wchar_t* const reloadPrompt;  // "R: reload"

    // What the fire control showed at one look.
    struct State {
        bool reloading;
        irr::u32 burstsLeft;
        irr::u32 dryPresses;
    };
    // The sounds due between two looks, as bits.
    enum Cue : irr::u32 { MagazineOut = 1, MagazineIn = 2, DryClick = 4 };
    static irr::u32 cuesBetween(const State& before, const State& after);
    static State stateOf(const FireControl& fire);

    // audio may be null: no sounds, the prompt all the same.
    explicit GunCues(torvel::AudioManager* audio);

    // Plays what changed since the last look and keeps the prompt's state.
    void watch(const FireControl& fire);
    // A dry trigger was heard and no reload has begun since, nor have the
    // guns been filled.
    bool promptsReload() const { return prompting; }

private:
    GunCues(const GunCues&) = delete;
    GunCues& operator=(const GunCues&) = delete;

    torvel::AudioSource* magazineOut;  // belong to the sound manager; null without sound
    torvel::AudioSource* magazineIn;
    torvel::AudioSource* dryClick;
    State seen;                        // the fire control at the last look
    bool prompting;                    // the reload prompt is up
};
