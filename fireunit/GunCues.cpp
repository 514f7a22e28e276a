#include "GunCues.h"

#include "AudioManager.h"
#include "AudioSource.h"
#include "FireControl.h"
#include "ResourceTable.h"

using namespace irr;

const char* const GunCues::magazineOutFile = ResourceTable::path(Resource::MagazineOutSound);
const char* const GunCues::magazineInFile = ResourceTable::path(Resource::MagazineInSound);
const char* const GunCues::dryClickFile = ResourceTable::path(Resource::DryClickSound);
const wchar_t* const GunCues::reloadPrompt = L"R: reload";

u32 GunCues::cuesBetween(const State& before, const State& after)
{
    u32 cues = 0;
    if (!before.reloading && after.reloading)
        cues |= MagazineOut;
    // The guns full again: a reload that ran out, or one called off by a
    // fresh magazine, or a magazine refilled with no reload at all.
    if ((before.reloading && !after.reloading) || after.burstsLeft > before.burstsLeft)
        cues |= MagazineIn;
    if (after.dryPresses != before.dryPresses)
        cues |= DryClick;
    return cues;
}

GunCues::State GunCues::stateOf(const FireControl& fire)
{
    return State{fire.isReloading(), fire.getBurstsLeft(), fire.getDryPresses()};
}

GunCues::GunCues(torvel::AudioManager* audio)
    : magazineOut(nullptr), magazineIn(nullptr), dryClick(nullptr), seen{false, FireControl::BURSTS_PER_MAGAZINE, 0},
      prompting(false)
{
    if (audio) {
        magazineOut = audio->create("magazineOutSound", magazineOutFile, false);
        magazineIn = audio->create("magazineInSound", magazineInFile, false);
        dryClick = audio->create("dryClickSound", dryClickFile, false);
    }
}

void GunCues::watch(const FireControl& fire)
{
    const State now = stateOf(fire);
    const u32 cues = cuesBetween(seen, now);
    seen = now;
    // A reload begun in the same look as the click needs no prompt.
    if (cues & DryClick)
        prompting = true;
    if (now.reloading || now.burstsLeft > 0)
        prompting = false;
    if ((cues & MagazineOut) && magazineOut)
        magazineOut->play2d(false);
    if ((cues & MagazineIn) && magazineIn)
        magazineIn->play2d(false);
    if ((cues & DryClick) && dryClick)
        dryClick->play2d(false);
}
